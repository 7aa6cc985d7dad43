// The file operations of the companion programs, each a small function over the
// run-time's table of system calls, so that a test that replaces an entry of the table
// reaches them as it reaches boxpaint's own. Reasons are the system's (SystemError).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/platform/system_calls.h"

/// Opens `path` to read it again, front to back, without waiting for a writer where a
/// FIFO was put in the file's place. kNoFile when `path` is not a regular file that can
/// be read.
FileHandle openToReadAgain(const char* path);

/// Reads up to `size` bytes from `file` into `buffer`, reading again after a signal and
/// waiting on a non-blocking stream that has nothing yet. Returns the number of bytes
/// read, 0 at the end of the file, or -1 with the reason in `error`.
int64_t readSome(FileHandle file, void* buffer, size_t size, SystemError& error);

/// Writes all `length` bytes at `data` to `file`: a write cut short by a signal is made
/// again, and a non-blocking stream that is full is waited on. Returns 0, or the reason
/// the write failed. Async-signal-safe.
SystemError writeWhole(FileHandle file, const void* data, size_t length);

/// The handle of standard output, or of standard error when `error`.
FileHandle standardOutput(bool error = false);

/// Closes a handle that one of these functions opened; 0, or the reason the system
/// reported (the handle is gone either way).
SystemError closeFile(FileHandle file);

/// True when `path` names a folder.
bool isFolder(const char* path);

/// True when `a` and `b` both name an existing file, and the same one (through another
/// name, a link, or the same name).
bool sameFile(const char* a, const char* b);

/// Whether the existing file `path` may be replaced: 0 when it does not exist or when
/// this process may write it, else the reason that opening it for writing gives (access
/// denied for a read-only file, a read-only file system ...).
SystemError replaceRefusal(const char* path);

/// Creates a new file named `path` with its last six characters (XXXXXX) made unique in
/// its folder; `path` gets the name. It has the permissions any new file gets. The
/// handle, or kNoFile with the reason in `error`.
FileHandle createUniqueFile(std::string& path, SystemError& error);

/// Gives the file `from` the name `to`, replacing any file of that name. 0, or the
/// reason.
SystemError renameFile(const char* from, const char* to);

/// Removes the file `path`, if it is there. Async-signal-safe.
void removeFile(const char* path);

/// The system's words for `error` ("Permission denied").
std::string errorText(SystemError error);
