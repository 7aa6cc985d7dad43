// The ring of an output channel as its parts share it: buffer extents, buffers by
// sequence number, the writer's state.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/records/output_channel.h"

/// Who holds the role of writing buffers to the system, and how it stands: the value of
/// `OutputChannel::state`.
enum class WriterState : int {
  Idle,     // nobody writes; the writer may take the next buffer
  Writing,  // a write to the system is under way
  Ending,   // the end of the run has taken the role: nothing more is written by the writer
  Refused,  // the system refused a write
  Drained,  // every record reached the system and the channel is closing
};

/// Mask of the complete length in a buffer's extent.
constexpr uint64_t kLengthMask = (uint64_t{1} << kLengthBits) - 1;

/// A buffer's extent: the channel offset of its first byte and its complete length.
inline uint64_t packExtent(uint64_t start, size_t length) {
  return start << kLengthBits | length;
}

/// The channel offset of an extent's first byte.
inline uint64_t startOf(uint64_t extent) {
  return extent >> kLengthBits;
}

/// The complete length of an extent.
inline size_t lengthOf(uint64_t extent) {
  return static_cast<size_t>(extent & kLengthMask);
}

/// The buffer that holds sequence number `sequence`.
inline GatherBuffer& bufferOf(OutputChannel& channel, uint64_t sequence) {
  return channel.buffers[sequence % static_cast<uint64_t>(channel.policy->buffers)];
}

/// How the role of writing stands.
inline WriterState stateOf(const OutputChannel& channel) {
  return static_cast<WriterState>(channel.state.load());
}

/// Moves the role of writing from `from` to `to`; false when it stood elsewhere.
inline bool moveState(OutputChannel& channel, WriterState from, WriterState to) {
  int expected = static_cast<int>(from);
  return channel.state.compare_exchange_strong(expected, static_cast<int>(to));
}

/// The handle records are written to. Async-signal-safe.
inline FileHandle handleOf(const OutputChannel& channel) {
  return channel.handle->load();
}
