#include "view/record_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

std::string recordText(const char* fileName, int64_t line) {
  const int fd = open(fileName, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return "";
  std::string text;
  int64_t current = 1;
  char block[1 << 16];
  for (;;) {
    const ssize_t got = read(fd, block, sizeof block);
    if (got <= 0) break;
    const char* p = block;
    const char* end = block + got;
    while (p < end && current < line) {
      const void* newline = std::memchr(p, '\n', static_cast<size_t>(end - p));
      if (newline == nullptr) {
        p = end;
        break;
      }
      p = static_cast<const char*>(newline) + 1;
      ++current;
    }
    if (current < line) continue;
    const void* newline = std::memchr(p, '\n', static_cast<size_t>(end - p));
    const char* stop = newline != nullptr ? static_cast<const char*>(newline) : end;
    text.append(p, std::min(static_cast<size_t>(stop - p), kRecordTextLimit + 1 - text.size()));
    if (newline != nullptr || text.size() > kRecordTextLimit) break;
  }
  close(fd);
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  text.erase(0, first);
  text.erase(text.find_last_not_of(" \t\r") + 1);
  if (text.size() > kRecordTextLimit) text = text.substr(0, kRecordTextLimit) + "...";
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
  }
  return text;
}
