#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "runtime/platform/system_calls.h"

namespace {

// Numbers with the application bit set, which the system never gives: reasons that
// cannot happen here.
constexpr SystemError kNeverInterrupted = 0x20000001;
constexpr SystemError kNeverWouldBlock = 0x20000002;

}  // namespace

SystemError systemError(ErrorName name) {
  switch (name) {
    case ErrorName::Interrupted:
      return kNeverInterrupted;
    case ErrorName::WouldBlock:
      return kNeverWouldBlock;
    case ErrorName::Io:
      return ERROR_IO_DEVICE;
    case ErrorName::DiskFull:
      return ERROR_DISK_FULL;
    case ErrorName::FileTooLarge:
      return ERROR_FILE_TOO_LARGE;
    case ErrorName::BrokenPipe:
      return ERROR_BROKEN_PIPE;
    case ErrorName::NotFound:
      return ERROR_FILE_NOT_FOUND;
    case ErrorName::AccessDenied:
      return ERROR_ACCESS_DENIED;
    case ErrorName::NoSuchDevice:
      return ERROR_DEV_NOT_EXIST;
    case ErrorName::NameTooLong:
      return ERROR_FILENAME_EXCED_RANGE;
    case ErrorName::TooManyFiles:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ErrorName::NoMemory:
      return ERROR_NOT_ENOUGH_MEMORY;
  }
  return ERROR_IO_DEVICE;
}

int32_t openRefusalMessage(SystemError error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return 29;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
      return 9;
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_UNIT:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_DEV_NOT_EXIST:
      return 42;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return 10;
    case ERROR_INVALID_NAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return 43;
    default:
      return 30;
  }
}

size_t systemErrorText(SystemError error, char* text, size_t capacity) {
  if (capacity == 0) return 0;
  DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     static_cast<DWORD>(error), 0, text, static_cast<DWORD>(capacity), nullptr);
  // The system's text ends in a full stop and a line end, which the callers' lines add.
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  if (length == 0) {
    const int written = std::snprintf(text, capacity, "system error %d", error);
    return written < 0 ? 0 : std::min(static_cast<size_t>(written), capacity - 1);
  }
  text[length] = '\0';
  return length;
}
