// Handing the complete records of a buffer to the system, and cutting a disk file back
// to its last whole record.
#pragma once

#include <cstdint>

#include "runtime/records/output_channel.h"

/// Writes the complete bytes of buffer `sequence` that have not reached the file yet: a
/// disk file at explicit offsets, a pipe in whole-record pieces the system takes whole,
/// a direct channel where its handle stands. With `deadlineNs` (monotonic clock), a pipe
/// or device that takes nothing until then stops the writing (Ending). With
/// `yieldsToEnding`, so does the end of the run asking the writer to stop. An existing
/// disk file's old content is cut just before the first records take its place.
/// Async-signal-safe.
ChannelStatus writeBuffer(OutputChannel& channel, uint64_t sequence, int64_t deadlineNs,
                          bool yieldsToEnding);

/// Cuts a file that keeps whole records, once it has been cut or written, back to its
/// last whole record. Async-signal-safe.
void cutToWholeRecords(OutputChannel& channel);
