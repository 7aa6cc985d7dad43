#include "runtime/platform/file_transfers.h"

#include <algorithm>

namespace {

// Waits until a stream can take bytes, or the deadline passes (false).
bool waitWritableUntil(FileHandle file, int64_t deadlineNs) {
  for (;;) {
    const int64_t left = deadlineNs - systemCalls().monotonicNanoseconds();
    if (left <= 0) return false;
    const int wait = static_cast<int>(std::min<int64_t>(left / 1000000 + 1, 100));
    if (systemCalls().waitWritable(file, wait)) return true;
  }
}

}  // namespace

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

int64_t writeSome(FileHandle file, const char* bytes, size_t count, uint64_t offset,
                  int64_t deadlineNs, SystemError* error) {
  SystemCalls& system = systemCalls();
  const bool atOffset = offset != kWhereHandleStands;
  for (;;) {
    if (deadlineNs != 0 && !waitWritableUntil(file, deadlineNs)) return 0;
    const int64_t n = atOffset ? system.writeFileAt(file, bytes, count, offset, error)
                               : system.writeFile(file, bytes, count, error);
    if (n > 0) return n;
    if (n < 0 && isError(*error, ErrorName::Interrupted)) continue;
    if (n < 0 && !atOffset && isError(*error, ErrorName::WouldBlock)) {
      // A stream left non-blocking by whoever started the process: the bytes wait until
      // the reader makes room, as they would on a blocking one.
      if (deadlineNs == 0) system.waitWritable(file, -1);
      continue;
    }
    if (n == 0) *error = systemError(ErrorName::Io);
    return -1;
  }
}

size_t writeAll(FileHandle file, const char* bytes, size_t count, SystemError* error) {
  size_t written = 0;
  while (written < count) {
    const int64_t n =
        writeSome(file, bytes + written, count - written, kWhereHandleStands, 0, error);
    if (n <= 0) break;
    written += static_cast<size_t>(n);
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
