// Handing the complete records of a gathering buffer to the system, and cutting a disk
// file back to its last whole record.
#pragma once

#include <cstdint>

#include "runtime/records/output_channel.h"

/// How writing a buffer ended.
enum class Outcome {
  Done,     // every complete byte of the buffer has reached the file
  Stopped,  // the deadline passed, or the end of the run took the writer's place
  Failed,   // the system refused (the errno is in `failure`)
};

/// Writes the complete bytes of buffer `sequence` that have not reached the file yet:
/// a disk file at explicit offsets, a pipe in whole-record pieces of at most PIPE_BUF.
/// With `deadlineNs`, a pipe that takes nothing until then stops the writing; with
/// `stopOnEnding`, so does the end of the run taking the writer's place. An existing
/// disk file's old content is cut just before the first records take its place.
/// Async-signal-safe.
Outcome writeBuffer(OutputChannel& channel, uint64_t sequence, int64_t deadlineNs,
                    bool stopOnEnding);

/// Cuts a disk file that has been cut or written back to its last whole record.
/// Async-signal-safe.
void cutToWholeRecords(OutputChannel& channel);
