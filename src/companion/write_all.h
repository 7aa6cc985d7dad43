// Handing bytes to a descriptor until all of them are taken. The one place where the
// companion programs write: their reports, their one-line errors and their output files.
#pragma once

#include <cstddef>

#include "runtime/platform/system_calls.h"

/// Writes all `length` bytes at `data` to `file` through the run-time's own write-all: a
/// write cut short by a signal is made again, and a non-blocking stream that is full is
/// waited on until it takes more. Returns 0, or the system's reason the write failed.
/// Async-signal-safe: a failure handler in a signal handler may use it.
int writeAll(FileHandle file, const void* data, size_t length);
