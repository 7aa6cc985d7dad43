// The producer's side of an output channel: room for a batch of records whose texts have
// one length, then how many of them were filled. The channel ends every record with its
// terminator; the producer writes texts only.
#pragma once

#include <cstddef>

#include "runtime/records/output_channel.h"

/// Where a batch of records goes, and how many fit: the text of record k goes at
/// `bytes + k * stride`, and the record's terminator already stands behind it.
struct RecordRoom {
  char* bytes = nullptr;
  size_t count = 0;
  size_t stride = 0;  // bytes of one record: its text and the channel's terminator
};

/// Bytes of one record on `channel` whose text is `width` bytes: the text and the
/// channel's terminator.
inline size_t recordLength(const OutputChannel& channel, size_t width) {
  return width + channel.terminatorLength;
}

/// Makes room behind the complete records for up to `wanted` (> 0) records whose texts are
/// `width` bytes each: as many as fit the current buffer, at least one; exactly one on a
/// direct channel. Waits while every buffer of the ring is full. NoMemory when a buffer
/// cannot be had or a record with its terminator exceeds kMaxRecordBytes.
ChannelStatus reserveRecords(OutputChannel& channel, size_t width, size_t wanted, RecordRoom& room);

/// Completes the first `count` records of the room last reserved, their texts written.
/// A direct channel writes them to the system now. A gathering one, once its buffer can
/// take no further record of that length, writes it itself while its output is short
/// (`writtenInPlace`), else hands it to the writer thread.
ChannelStatus commitRecords(OutputChannel& channel, size_t count);

/// Hands the current buffer, if it holds complete records, to the writer and starts
/// the next one, waiting while the ring is full. Without a writer thread (`startWriter`
/// false and none running) the calling thread writes it.
ChannelStatus submitBuffer(OutputChannel& channel, bool startWriter);
