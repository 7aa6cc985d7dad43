// Calls of the system table carried through what the system leaves half done: a call
// interrupted before it did anything is made again, a full non-blocking stream is waited
// on, a short write is continued. Every run-time caller goes through these, so a test
// that replaces an entry of the table sees each attempt.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/platform/system_calls.h"

/// Opens `path` as `intent` asks, again when interrupted; kNoFile with the reason when
/// refused.
FileHandle openFileRetrying(const char* path, OpenIntent intent, SystemError* error);

/// Reads up to `count` bytes, again when interrupted; 0 at the end of the file, -1 with
/// the reason when refused. Signal-safe.
int64_t readFileRetrying(FileHandle file, void* bytes, size_t count, SystemError* error);

/// The offset given to writeSome for a write where the handle stands.
constexpr uint64_t kWhereHandleStands = UINT64_MAX;

/// Writes some of `count` (> 0) bytes: at `offset` from the file's start, or where the
/// handle stands (kWhereHandleStands). A call interrupted is made again. A stream that
/// cannot take bytes (one left non-blocking, or with `deadlineNs` any) is waited on, until
/// `deadlineNs` on the monotonic clock when that is not 0. Returns how many bytes were
/// written, at least one; 0 when the deadline passed first; -1, with the reason in
/// `*error`, when the system refused or took nothing. Signal-safe.
int64_t writeSome(FileHandle file, const char* bytes, size_t count, uint64_t offset,
                  int64_t deadlineNs, SystemError* error);

/// Writes all `count` bytes where the handle stands. Returns how many were written: all
/// of them, or fewer with the reason in `*error` when the system refused or took nothing.
/// Signal-safe.
size_t writeAll(FileHandle file, const char* bytes, size_t count, SystemError* error);

/// Cuts a disk file to `length` bytes, again when interrupted. Signal-safe.
bool cutFileRetrying(FileHandle file, uint64_t length, SystemError* error);

/// Closes the handle. A close interrupted by a signal has still released it, so it is
/// not repeated and counts as done.
bool closeFileOnce(FileHandle file, SystemError* error);
