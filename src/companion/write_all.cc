#include "companion/write_all.h"

#include "runtime/platform/file_transfers.h"

int writeAll(FileHandle file, const void* data, size_t length) {
  SystemError error = 0;
  const size_t written = writeAll(file, static_cast<const char*>(data), length, &error);
  return written == length ? 0 : error;
}
