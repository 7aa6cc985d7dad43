// The producer's side of an output channel: room for a batch of records of one length,
// then how many of them were filled.
#pragma once

#include <cstddef>

#include "runtime/records/output_channel.h"

/// Where a batch of records goes, and how many fit.
struct RecordRoom {
  char* bytes = nullptr;
  size_t count = 0;
};

/// Makes room behind the complete records for up to `wanted` (> 0) records of `length`
/// bytes each, terminators included: as many as fit the current buffer, at least one;
/// exactly one on a direct channel. Waits while every buffer of the ring is full.
/// NoMemory when a buffer cannot be had or `length` exceeds kMaxRecordBytes.
ChannelStatus reserveRecords(OutputChannel& channel, size_t length, size_t wanted,
                             RecordRoom& room);

/// Completes the first `count` records of the room last reserved, written back to back.
/// A direct channel writes them to the system now. A gathering one, once its buffer can
/// take no further record of that length, writes it itself while its output is short
/// (`writtenInPlace`), else hands it to the writer thread.
ChannelStatus commitRecords(OutputChannel& channel, size_t count);

/// Hands the current buffer, if it holds complete records, to the writer and starts
/// the next one, waiting while the ring is full. Without a writer thread (`startWriter`
/// false and none running) the calling thread writes it.
ChannelStatus submitBuffer(OutputChannel& channel, bool startWriter);
