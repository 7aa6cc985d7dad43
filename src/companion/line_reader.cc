#include "companion/line_reader.h"

#include <cstring>

#include "companion/system_files.h"

namespace {

// Reads more of the file behind what is held; false when a read failed.
bool fill(LineReader& reader) {
  char* data = reader.block.data();
  if (reader.start > 0) {
    std::memmove(data, data + reader.start, reader.end - reader.start);
    reader.end -= reader.start;
    reader.start = 0;
  }
  const int64_t got =
      readSome(reader.file, data + reader.end, reader.block.size() - reader.end, reader.error);
  if (got < 0) return false;
  if (got == 0) reader.fileEnded = true;
  reader.end += static_cast<size_t>(got);
  return true;
}

// A line that fills the whole block: its first bytes are kept, the rest only counted.
bool longLine(LineReader& reader, LineView& line) {
  reader.longHead.assign(reader.block.data(), reader.end);
  int64_t length = static_cast<int64_t>(reader.end);
  reader.start = reader.end = 0;
  for (;;) {
    if (!fill(reader)) return false;
    const char* data = reader.block.data();
    const void* feed = std::memchr(data, '\n', reader.end);
    if (feed != nullptr || reader.fileEnded) {
      const size_t taken =
          feed != nullptr ? static_cast<size_t>(static_cast<const char*>(feed) - data) : reader.end;
      line.text = reader.longHead;
      line.length = length + static_cast<int64_t>(taken);
      line.ended = feed != nullptr;
      reader.start = feed != nullptr ? taken + 1 : reader.end;
      ++reader.lines;
      return true;
    }
    length += static_cast<int64_t>(reader.end);
    reader.end = 0;
  }
}

}  // namespace

LineReader startLineReader(FileHandle file, size_t blockBytes) {
  LineReader reader;
  reader.file = file;
  reader.block.resize(blockBytes);
  return reader;
}

bool nextLine(LineReader& reader, LineView& line) {
  for (;;) {
    const char* data = reader.block.data();
    const void* feed = std::memchr(data + reader.start, '\n', reader.end - reader.start);
    if (feed != nullptr || (reader.fileEnded && reader.start < reader.end)) {
      const size_t stop =
          feed != nullptr ? static_cast<size_t>(static_cast<const char*>(feed) - data) : reader.end;
      line.text = std::string_view(data + reader.start, stop - reader.start);
      line.length = static_cast<int64_t>(line.text.size());
      line.ended = feed != nullptr;
      reader.start = feed != nullptr ? stop + 1 : stop;
      ++reader.lines;
      return true;
    }
    if (reader.fileEnded || reader.error != 0) return false;
    if (reader.start == 0 && reader.end == reader.block.size()) return longLine(reader, line);
    if (!fill(reader)) return false;
  }
}

std::string_view heldLines(LineReader& reader) {
  for (;;) {
    const char* data = reader.block.data();
    // The last line feed held lies near the end, a short line from it.
    for (size_t at = reader.end; at > reader.start; --at) {
      if (data[at - 1] == '\n') return std::string_view(data + reader.start, at - reader.start);
    }
    if (reader.fileEnded || reader.error != 0) return {};
    if (reader.start == 0 && reader.end == reader.block.size()) return {};
    if (!fill(reader)) return {};
  }
}

void takeLines(LineReader& reader, size_t bytes, int64_t lines) {
  reader.start += bytes;
  reader.lines += lines;
}
