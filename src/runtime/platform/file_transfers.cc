#include "runtime/platform/file_transfers.h"

FileHandle openFileRetrying(const char* path, OpenIntent intent, SystemError* error) {
  for (;;) {
    const FileHandle file = systemCalls().openFile(path, intent, error);
    if (file != kNoFile || !isError(*error, ErrorName::Interrupted)) return file;
  }
}

int64_t readFileRetrying(FileHandle file, void* bytes, size_t count, SystemError* error) {
  for (;;) {
    const int64_t got = systemCalls().readFile(file, bytes, count, error);
    if (got >= 0 || !isError(*error, ErrorName::Interrupted)) return got;
  }
}

size_t writeAll(FileHandle file, const char* bytes, size_t count, SystemError* error) {
  size_t written = 0;
  while (written < count) {
    const int64_t n = systemCalls().writeFile(file, bytes + written, count - written, error);
    if (n > 0) {
      written += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && isError(*error, ErrorName::Interrupted)) continue;
    if (n < 0 && isError(*error, ErrorName::WouldBlock)) {
      // A stream left non-blocking by whoever started the process: the bytes wait until
      // the reader makes room, as they would on a blocking one.
      systemCalls().waitWritable(file, -1);
      continue;
    }
    if (n == 0) *error = systemError(ErrorName::Io);
    break;
  }
  return written;
}

bool cutFileRetrying(FileHandle file, uint64_t length, SystemError* error) {
  for (;;) {
    if (systemCalls().cutFile(file, length, error)) return true;
    if (!isError(*error, ErrorName::Interrupted)) return false;
  }
}

bool closeFileOnce(FileHandle file, SystemError* error) {
  return systemCalls().closeFile(file, error) || isError(*error, ErrorName::Interrupted);
}
