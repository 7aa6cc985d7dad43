#include "companion/write_all.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

int writeAll(int fd, const void* data, size_t length) {
  const char* bytes = static_cast<const char*>(data);
  while (length > 0) {
    const ssize_t n = write(fd, bytes, length);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // A descriptor left non-blocking by whoever started the program: wait until it
      // takes more, as a blocking one would.
      pollfd ready{fd, POLLOUT, 0};
      if (poll(&ready, 1, -1) < 0 && errno != EINTR) return errno;
      continue;
    }
    if (n <= 0) return n < 0 ? errno : EIO;
    bytes += n;
    length -= static_cast<size_t>(n);
  }
  return 0;
}
