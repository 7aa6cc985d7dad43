#include <windows.h>

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
