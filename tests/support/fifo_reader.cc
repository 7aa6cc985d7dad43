#include "support/fifo_reader.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

FifoReader::FifoReader(const std::string& path, long long stallAfter, int stallLimitMs,
                       const std::string& fullMark)
    : stallAfter_(stallAfter), stallLimitMs_(stallLimitMs), fullMark_(fullMark) {
  // Opened without blocking, so that the run's open for writing finds a reader at once
  // and a run that never opens the FIFO leaves nothing waiting.
  fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (pipe2(wake_, O_CLOEXEC) != 0) wake_[0] = wake_[1] = -1;
  thread_ = std::thread([this] { drain(); });
}

FifoReader::~FifoReader() {
  if (thread_.joinable()) finish();
  for (int fd : {fd_, wake_[0], wake_[1]}) {
    if (fd >= 0) close(fd);
  }
}

std::string FifoReader::finish() {
  if (thread_.joinable()) {
    char byte = 1;
    (void)!write(wake_[1], &byte, 1);
    thread_.join();
  }
  return bytes_;
}

void FifoReader::drain() {
  char buffer[65536];
  bool writerGone = false;
  bool stalled = false;
  // Reads one buffer's worth (not past the stall), or with `all` everything there is.
  auto readAvailable = [&](bool all) {
    for (;;) {
      size_t room = sizeof buffer;
      if (!all && !stalled && stallAfter_ >= 0) {
        room = std::min<size_t>(room, static_cast<size_t>(stallAfter_) - bytes_.size());
      }
      ssize_t n = read(fd_, buffer, room);
      if (n > 0) {
        bytes_.append(buffer, static_cast<size_t>(n));
        if (all) continue;
        return;
      }
      if (n == 0) writerGone = true;  // every writer has closed the FIFO
      if (n < 0 && errno == EINTR) continue;
      return;
    }
  };
  for (;;) {
    if (!stalled && stallAfter_ >= 0 && bytes_.size() >= static_cast<size_t>(stallAfter_)) {
      stalled = true;
      // Events 0: poll reports only the hang-up that the last writer's close makes.
      pollfd hangUp{fd_, 0, 0};
      auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(stallLimitMs_);
      bool marked = fullMark_.empty();
      while (poll(&hangUp, 1, 1) >= 0 && (hangUp.revents & POLLHUP) == 0) {
        int held = 0;
        int size = fcntl(fd_, F_GETPIPE_SZ);
        if (!marked && ioctl(fd_, FIONREAD, &held) == 0 && held > size - PIPE_BUF) {
          marked = true;
          close(open(fullMark_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
        }
        if (std::chrono::steady_clock::now() >= end) {
          stallRanOut_ = true;
          break;
        }
      }
    }
    pollfd fds[2] = {{writerGone ? -1 : fd_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    int ready = poll(fds, 2, -1);
    if (ready < 0 && errno != EINTR) break;
    if (fds[0].revents != 0) readAvailable(false);
    if (fds[1].revents != 0) {
      if (!writerGone) readAvailable(true);
      break;
    }
  }
}
