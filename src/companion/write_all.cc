#include "companion/write_all.h"

#include "runtime/platform/file_transfers.h"

namespace {

// The companions name the standard streams by their numbers 0, 1 and 2 on every system;
// where the system's handles for them are other numbers (Windows), the table gives them.
FileHandle systemFile(FileHandle file) {
  switch (file) {
    case 0:
      return systemCalls().standardStream(StandardStream::Input);
    case 1:
      return systemCalls().standardStream(StandardStream::Output);
    case 2:
      return systemCalls().standardStream(StandardStream::Error);
    default:
      return file;
  }
}

}  // namespace

int writeAll(FileHandle file, const void* data, size_t length) {
  SystemError error = 0;
  const size_t written = writeAll(systemFile(file), static_cast<const char*>(data), length, &error);
  return written == length ? 0 : error;
}
