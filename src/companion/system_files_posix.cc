#include "companion/system_files.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

int openRegularFile(const char* path) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return -1;
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

int64_t readSome(int fd, void* buffer, size_t size, int& error) {
  for (;;) {
    const ssize_t n = read(fd, buffer, size);
    if (n >= 0) return n;
    if (errno == EINTR) continue;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      // A standard input left non-blocking by whoever started the program.
      pollfd ready{fd, POLLIN, 0};
      if (poll(&ready, 1, -1) < 0 && errno != EINTR) break;
      continue;
    }
    break;
  }
  error = errno;
  return -1;
}

void closeFile(int fd) {
  close(fd);
}

bool isFolder(const char* path) {
  struct stat status;
  return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

bool sameFile(const char* a, const char* b) {
  struct stat first, second;
  return stat(a, &first) == 0 && stat(b, &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

int replaceRefusal(const char* path) {
  // Opened as a program that writes the file would open it, so that every reason it
  // would meet (permissions, a read-only file system, an immutable file) counts; without
  // waiting for a reader of a FIFO, which may be replaced.
  const int fd = open(path, O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd >= 0) {
    close(fd);
    return 0;
  }
  return errno == ENOENT || errno == ENXIO ? 0 : errno;
}

int createUniqueFile(std::string& path, int& error) {
  const int fd = mkstemp(path.data());
  if (fd < 0) error = errno;
  return fd;
}

int closeNewFile(int fd) {
  const mode_t mask = umask(0);
  umask(mask);
  int error = fchmod(fd, 0666 & ~mask) == 0 ? 0 : errno;
  if (close(fd) != 0 && error == 0) error = errno;
  return error;
}

int renameFile(const char* from, const char* to) {
  return rename(from, to) == 0 ? 0 : errno;
}

void removeFile(const char* path) {
  unlink(path);
}

std::string errorText(int error) {
  return std::strerror(error);
}
