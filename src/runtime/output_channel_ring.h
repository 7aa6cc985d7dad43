// Moving gathered records through the ring of an output channel: submitting full
// buffers, the writer thread that hands them to the system, the normal close, and the
// hand-over that ends the run.
#pragma once

#include <cstddef>
#include <cstdint>

struct Connection;
struct GatherBuffer;

/// The buffer the producer fills; made ready (allocated, empty) on first use. Ends the
/// run with message 41 when memory is refused.
GatherBuffer& currentBuffer(Connection& connection);

/// Publishes the records of the current buffer up to `used`, the last `count` of them
/// `length` bytes each, written back to back. Submits the buffer when it is full.
void publishRecords(Connection& connection, size_t count, size_t length);

/// Submits the current buffer to the writer and starts an empty one, carrying over the
/// incomplete record of `incomplete` bytes at its end. Waits while the ring is full.
/// Starts the writer thread when `startWriter` and none runs; without one, this thread
/// writes the buffer itself. Ends the run with message 38 when a write was refused;
/// never returns when the run is ending on another thread.
void submitBuffer(Connection& connection, size_t incomplete, bool startWriter);

/// Makes the current buffer hold at least `bytes` more behind `used`, submitting it
/// first when it holds complete records, growing it when it holds none.
void reserveInBuffer(Connection& connection, size_t bytes);

/// Hands every complete record to the system and waits until it is there: the normal
/// close. False when the system refused a write; the file then ends at its last whole
/// record. Never returns when the run is ending on another thread.
bool drainOutput(Connection& connection);

/// Takes the writer's place for the end of the run and hands over the complete records
/// that have not reached the file, until `deadlineNs` (monotonic clock) for a pipe that
/// does not take them; what cannot be handed over is dropped whole. False when the
/// system refused a write. Async-signal-safe when `inSignalHandler`.
bool handOverForEnd(Connection& connection, int64_t deadlineNs, bool inSignalHandler);

/// Stops the output of a connection whose write was refused: nothing more is written,
/// and a partial record at the end of a disk file is cut off.
void abandonOutput(Connection& connection);

/// Frees the record memory of a connection no longer used, once its writer has ended.
void releaseOutput(Connection& connection);

/// The monotonic clock in nanoseconds. Async-signal-safe.
int64_t monotonicNanoseconds();
