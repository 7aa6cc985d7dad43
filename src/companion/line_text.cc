#include "companion/line_text.h"

#include "companion/line_reader.h"
#include "companion/system_files.h"

namespace {

// Lines are only skipped and one is kept short, so a small block does.
constexpr size_t kBlockBytes = 1 << 16;

}  // namespace

bool lineText(const char* path, int64_t line, std::string& text) {
  text.clear();
  if (path == nullptr || line < 1) return false;
  const FileHandle file = openToReadAgain(path);
  if (file == kNoFile) return false;
  LineReader reader = startLineReader(file, kBlockBytes);
  LineView view;
  bool found = false;
  while (nextLine(reader, view)) {
    if (reader.lines == line) {
      found = true;
      break;
    }
  }
  closeFile(file);
  if (!found) return false;
  if (view.length > static_cast<int64_t>(kLineTextLimit)) {
    text.assign(view.text.substr(0, kLineTextLimit)).append("...");
    return true;
  }
  text.assign(view.text);
  while (!text.empty() && text.back() == '\r') text.pop_back();
  return true;
}

std::string printableText(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && byte != '\t') || byte == 0x7F) c = '?';
  }
  return shown;
}
