// The ring of a gathering channel as its parts share it: buffer extents, buffers by
// sequence number, the writer's state.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/records/output_channel.h"

/// Mask of the complete length in a buffer's extent.
constexpr uint64_t kLengthMask = (uint64_t{1} << kLengthBits) - 1;

/// A buffer's extent: the file offset of its first byte and its complete length.
inline uint64_t packExtent(uint64_t start, size_t length) {
  return start << kLengthBits | length;
}

/// The file offset of an extent's first byte.
inline uint64_t startOf(uint64_t extent) {
  return extent >> kLengthBits;
}

/// The complete length of an extent.
inline size_t lengthOf(uint64_t extent) {
  return static_cast<size_t>(extent & kLengthMask);
}

/// The buffer that holds sequence number `sequence`.
inline GatherBuffer& bufferOf(OutputChannel& channel, uint64_t sequence) {
  return channel.buffers[sequence % kGatherBuffers];
}

/// Sets what the thread in the writer's role is doing.
inline void setWriter(OutputChannel& channel, WriterState state) {
  channel.writer.store(static_cast<int>(state));
}

/// What the thread in the writer's role is doing.
inline WriterState writerOf(const OutputChannel& channel) {
  return static_cast<WriterState>(channel.writer.load());
}
