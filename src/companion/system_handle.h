// On Windows: the companions keep a file as an int, as they do on POSIX; 0, 1 and 2 stand
// for the standard handles, and any other number is a handle of the system's, which
// Windows keeps within 32 bits.
#pragma once

#include <windows.h>

/// The system's handle for the companion's file number `fd`.
inline HANDLE systemHandle(int fd) {
  switch (fd) {
    case 0:
      return GetStdHandle(STD_INPUT_HANDLE);
    case 1:
      return GetStdHandle(STD_OUTPUT_HANDLE);
    case 2:
      return GetStdHandle(STD_ERROR_HANDLE);
    default:
      return LongToHandle(fd);
  }
}

/// The companion's file number for a handle the system opened.
inline int fileNumber(HANDLE handle) {
  return HandleToLong(handle);
}
