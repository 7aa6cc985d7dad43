// How each kind of output channel hands its records to the system: one policy per kind,
// read wherever the kinds differ.
#pragma once

#include <cstddef>
#include <cstdint>

/// Buffers in the ring of a gathering channel.
constexpr int kGatherBuffers = 4;

/// Bytes of one buffer of a gathering channel.
constexpr size_t kGatherBytes = 1024 * 1024;

/// Longest record a channel takes, terminator included; the buffer of a direct channel
/// is this long. The utility's longest record is the not-found line of a 200-character
/// name.
constexpr size_t kMaxRecordBytes = 4096;

/// How a channel's records reach the system.
enum class ChannelKind : uint8_t {
  Direct,    // each record as one write when complete (consoles, terminals, devices)
  DiskFile,  // gathered, written at explicit offsets (regular files)
  Stream,    // gathered, written in whole-record pieces the system takes whole (pipes)
};

/// What a kind of channel does differently from the others.
struct ChannelPolicy {
  int buffers;             // buffers in the ring
  size_t bufferBytes;      // bytes of each buffer
  bool eachCommit;         // the producer writes every commit at once, one record a batch
  bool atOffsets;          // written at explicit offsets from the file's start: bytes written
                           // again do no harm, and an existing file's old content goes
                           // with the first records
  bool wholeRecordPieces;  // written in whole-record pieces the system takes whole or not
                           // at all
};

/// The policy of `kind`.
inline const ChannelPolicy& policyOf(ChannelKind kind) {
  static constexpr ChannelPolicy kPolicies[] = {
      {1, kMaxRecordBytes, true, false, false},            // Direct
      {kGatherBuffers, kGatherBytes, false, true, false},  // DiskFile
      {kGatherBuffers, kGatherBytes, false, false, true},  // Stream
  };
  return kPolicies[static_cast<int>(kind)];
}
