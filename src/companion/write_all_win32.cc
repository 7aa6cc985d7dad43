#include "companion/write_all.h"

#include <windows.h>

#include "companion/system_handle.h"

int writeAll(int fd, const void* data, size_t length) {
  const HANDLE handle = systemHandle(fd);
  const char* bytes = static_cast<const char*>(data);
  while (length > 0) {
    // The system counts a write's bytes in 32 bits.
    const DWORD count = length < (DWORD{1} << 30) ? static_cast<DWORD>(length) : DWORD{1} << 30;
    DWORD written = 0;
    if (!WriteFile(handle, bytes, count, &written, nullptr))
      return static_cast<int>(GetLastError());
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes += written;
    length -= written;
  }
  return 0;
}
