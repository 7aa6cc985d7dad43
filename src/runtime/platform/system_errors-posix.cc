#include <cerrno>

#include "runtime/platform/system_calls.h"

SystemError systemError(ErrorName name) {
  switch (name) {
    case ErrorName::Interrupted:
      return EINTR;
    case ErrorName::WouldBlock:
      return EAGAIN;
    case ErrorName::Io:
      return EIO;
    case ErrorName::DiskFull:
      return ENOSPC;
    case ErrorName::FileTooLarge:
      return EFBIG;
    case ErrorName::BrokenPipe:
      return EPIPE;
    case ErrorName::NotFound:
      return ENOENT;
    case ErrorName::AccessDenied:
      return EACCES;
    case ErrorName::NoSuchDevice:
      return ENXIO;
    case ErrorName::NameTooLong:
      return ENAMETOOLONG;
    case ErrorName::TooManyFiles:
      return EMFILE;
    case ErrorName::NoMemory:
      return ENOMEM;
  }
  return EIO;
}

int32_t openRefusalMessage(SystemError error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return 29;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return 9;
    case ENXIO:
    case ENODEV:
      return 42;
    case EEXIST:
      return 10;
    case ENAMETOOLONG:
    case EINVAL:
      return 43;
    default:
      return 30;
  }
}
