#include "runtime/open_error.h"

#include <cerrno>

int32_t messageForOpenError(int error) {
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
