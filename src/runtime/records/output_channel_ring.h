// Moving gathered records through the ring of an output channel: submitting full
// buffers, the writer thread that hands them to the system, the normal close, and the
// hand-over that ends the run.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/records/output_channel.h"

/// What became of a step that hands records on.
enum class ChannelStatus {
  Ok,
  Refused,   // the system refused a write: nothing more is written
  NoMemory,  // memory for a buffer was refused
  Ending,    // the end of the run has taken the channel over
};

/// The buffer the producer fills, made ready (allocated) on first use; nullptr when
/// memory is refused.
GatherBuffer* currentBuffer(OutputChannel& channel);

/// Publishes the records of the current buffer up to `used`, the last `count` of them
/// `length` bytes each, written back to back. Submits the buffer when it is full.
ChannelStatus publishRecords(OutputChannel& channel, size_t count, size_t length);

/// Submits the current buffer to the writer and starts an empty one, carrying over the
/// incomplete record of `incomplete` bytes at its end. Waits while the ring is full.
/// Starts the writer thread when `startWriter` and none runs; without one, this thread
/// writes the buffer itself.
ChannelStatus submitBuffer(OutputChannel& channel, size_t incomplete, bool startWriter);

/// Makes the current buffer hold at least `bytes` more behind `used`, submitting it
/// first when it holds complete records, growing it when it holds none.
ChannelStatus reserveInBuffer(OutputChannel& channel, size_t bytes);

/// Hands every complete record to the system and waits until it is there: the normal
/// close. Refused leaves the file ending at its last whole record.
ChannelStatus drainOutput(OutputChannel& channel);

/// Takes the writer's place for the end of the run and hands over the complete records
/// that have not reached the file, until `deadlineNs` (monotonic clock) for a pipe that
/// does not take them; what cannot be handed over is dropped whole. False when the
/// system refused a write. Async-signal-safe when `inSignalHandler`.
bool handOverForEnd(OutputChannel& channel, int64_t deadlineNs, bool inSignalHandler);

/// Stops the output of a channel whose write was refused: nothing more is written, and
/// a partial record at the end of a disk file is cut off.
void abandonOutput(OutputChannel& channel);

/// Frees the record memory of a channel no longer used, once its writer has ended.
void releaseOutput(OutputChannel& channel);
