#include "runtime/connections/open_error.h"

#include <cerrno>

#include "runtime/diagnostics/message.h"

int32_t messageForOpenError(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return numberOf(Message::FileNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return numberOf(Message::AccessDenied);
    case ENXIO:
    case ENODEV:
      return numberOf(Message::NoSuchDevice);
    case EEXIST:
      return numberOf(Message::FileExists);
    case ENAMETOOLONG:
    case EINVAL:
      return numberOf(Message::BadFileName);
    default:
      return numberOf(Message::OpenFailure);
  }
}
