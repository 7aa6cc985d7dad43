#include "runtime/diagnostics/diagnostic_output.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

std::atomic<bool> firstDiagnosticDone{false};

void writeAll(int fd, const char* text, size_t length) {
  while (length > 0) {
    ssize_t n = write(fd, text, length);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      // Standard error left non-blocking by whoever started the process.
      pollfd stream{fd, POLLOUT, 0};
      poll(&stream, 1, -1);
      continue;
    }
    if (n <= 0) return;
    text += n;
    length -= static_cast<size_t>(n);
  }
}

int openForAppending(const char* path) {
  return open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY, 0666);
}

}  // namespace

void writeDiagnosticText(const DiagnosticSwitches& switches, const char* text, size_t length) {
  if (!firstDiagnosticDone.exchange(true) && switches.errorFile != nullptr) {
    int fd = openForAppending(switches.errorFile);
    if (fd >= 0) {
      if (fd != 2) {
        dup2(fd, 2);
        close(fd);
      }
    }
  }
  if (!switches.disableDisplay) writeAll(2, text, length);
  if (switches.logFile != nullptr) {
    int fd = openForAppending(switches.logFile);
    if (fd >= 0) {
      writeAll(fd, text, length);
      close(fd);
    }
  }
}
