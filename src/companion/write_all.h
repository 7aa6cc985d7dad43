// Handing bytes to a descriptor until all of them are taken. The one place where the
// companion programs write: their reports, their one-line errors and their output files.
#pragma once

#include <cstddef>

/// Writes all `length` bytes at `data` to `fd`: a write cut short by a signal is made
/// again, and a non-blocking descriptor that is full is waited on until it takes more.
/// Returns 0, or the system's error number of the write that failed (EIO for a write
/// that took nothing). Async-signal-safe: a failure handler in a signal handler may use it.
int writeAll(int fd, const void* data, size_t length);
