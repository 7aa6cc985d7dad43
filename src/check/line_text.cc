#include "check/line_text.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

bool lineText(const char* path, int64_t line, std::string& text) {
  text.clear();
  if (path == nullptr || line < 1) return false;
  // Non-blocking, so that a FIFO put where the file was cannot hold the open up.
  const int fd = open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return false;
  }
  int64_t current = 1;
  bool found = false, ended = false, cut = false;
  char block[1 << 16];
  while (!ended) {
    const ssize_t got = read(fd, block, sizeof block);
    if (got <= 0) break;
    const char* p = block;
    const char* end = block + got;
    while (p < end && current < line) {
      const void* feed = std::memchr(p, '\n', static_cast<size_t>(end - p));
      if (feed == nullptr) {
        p = end;
        break;
      }
      p = static_cast<const char*>(feed) + 1;
      ++current;
    }
    if (current < line || p == end) continue;
    found = true;
    const void* feed = std::memchr(p, '\n', static_cast<size_t>(end - p));
    const char* stop = feed != nullptr ? static_cast<const char*>(feed) : end;
    text.append(p, stop);
    ended = feed != nullptr;
    if (text.size() > kLineTextLimit) {
      text.resize(kLineTextLimit);
      cut = ended = true;
    }
  }
  close(fd);
  if (!found) return false;
  if (cut) {
    text.append("...");
  } else {
    while (!text.empty() && text.back() == '\r') text.pop_back();
  }
  return true;
}
