// The file operations of the companion programs, each a small function over the
// system's calls, kept in one place so that another system's build swaps only their
// bodies. Error numbers are the system's (errno).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// Opens `path` to read it again, front to back, without waiting for a writer where a
/// FIFO or a device was put in the file's place. The descriptor, or -1 when `path` is
/// not a regular file that can be read.
int openRegularFile(const char* path);

/// Reads up to `size` bytes from `fd` into `buffer`, reading again after a signal and
/// waiting on a non-blocking descriptor that has nothing yet. Returns the number of bytes
/// read, 0 at the end of the file, or -1 with the error number in `error`.
int64_t readSome(int fd, void* buffer, size_t size, int& error);

/// Closes a descriptor that one of these functions opened.
void closeFile(int fd);

/// True when `path` names a folder.
bool isFolder(const char* path);

/// True when `a` and `b` both name an existing file, and the same one (through another
/// name, a link, or the same name).
bool sameFile(const char* a, const char* b);

/// Whether the existing file `path` may be replaced: 0 when it does not exist or when
/// this process may write it, else the error number that opening it for writing gives
/// (EACCES for a read-only file, EROFS, EPERM ...).
int replaceRefusal(const char* path);

/// Creates a new file, readable and writable by its owner only, named `path` with its
/// last six characters (XXXXXX) made unique; `path` gets the name. The descriptor, or -1
/// with the error number in `error`.
int createUniqueFile(std::string& path, int& error);

/// Gives the new file open on `fd` the permissions any new file gets (read and write
/// for all, less the process's umask) and closes it. 0, or the error number.
int closeNewFile(int fd);

/// Gives the file `from` the name `to`, replacing any file of that name. 0, or the
/// error number.
int renameFile(const char* from, const char* to);

/// Removes the file `path`, if it is there. Async-signal-safe.
void removeFile(const char* path);

/// The system's words for error number `error` ("Permission denied").
std::string errorText(int error);
