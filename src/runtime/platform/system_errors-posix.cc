#include <cerrno>
#include <cstring>

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

size_t systemErrorText(SystemError error, char* text, size_t capacity) {
  if (capacity == 0) return 0;
  const char* words = std::strerror(error);
  size_t length = std::strlen(words);
  if (length >= capacity) length = capacity - 1;
  std::memcpy(text, words, length);
  text[length] = '\0';
  return length;
}
