#include "check/reading/block_lines.h"

#include "companion/line_reader.h"
#include "companion/system_files.h"

namespace {

// Lines are only looked at for a byte other than a blank, so a small block does.
constexpr size_t kBlockBytes = 1 << 16;

bool isBlankLine(std::string_view text) {
  for (const char c : text) {
    if (c != ' ' && c != '\t' && c != '\r') return false;
  }
  return true;
}

}  // namespace

void skipBlankLines(const char* path, std::span<BlockLines> lines) {
  // Only a block whose statement took more than one line may have begun on a blank one.
  size_t next = 0;
  const auto seekSpread = [&] {
    while (next < lines.size() && lines[next].first >= lines[next].last) ++next;
  };
  seekSpread();
  if (next == lines.size()) return;
  const FileHandle file = openToReadAgain(path);
  if (file == kNoFile) return;
  LineReader reader = startLineReader(file, kBlockBytes);
  LineView line;
  while (next < lines.size() && nextLine(reader, line)) {
    BlockLines& block = lines[next];
    if (reader.lines < block.first) continue;
    // A long line is judged by its first bytes, which a value would lie among.
    if (reader.lines < block.last && isBlankLine(line.text)) {
      block.first = reader.lines + 1;
      continue;
    }
    ++next;
    seekSpread();
  }
  closeFile(file);
}
