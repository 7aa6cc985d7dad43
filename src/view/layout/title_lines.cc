#include "view/layout/title_lines.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string_view>

namespace {

constexpr const char* kEllipsis = "\u2026";

// `line` cut at a character's start and ended with an ellipsis, as much as fits in `room`.
std::string shortened(const std::string& line, double room, double size,
                      const TextMetrics& metrics) {
  if (metrics.width(line, size) <= room) return line;
  for (size_t cut = line.size(); cut > 0; --cut) {
    // A UTF-8 character's continuation bytes are 10xxxxxx; cut only before its lead byte.
    if ((static_cast<uint8_t>(line[cut - 1]) & 0xC0) == 0x80) continue;
    std::string candidate = line.substr(0, cut - 1);
    while (!candidate.empty() && candidate.back() == ' ') candidate.pop_back();
    candidate += kEllipsis;
    if (metrics.width(candidate, size) <= room) return candidate;
  }
  return kEllipsis;
}

}  // namespace

std::string titleText(const std::string& base, const std::string& note) {
  if (note.empty()) return base;
  return base.empty() ? note : base + " (" + note + ")";
}

std::vector<std::string> titleLines(const std::string& base, const std::string& note, double room,
                                    double size, const TextMetrics& metrics) {
  const std::string whole = titleText(base, note);
  if (whole.empty()) return {};
  const auto width = [&](const std::string& text) { return metrics.width(text, size); };
  if (width(whole) <= room) return {whole};
  // The note on a line of its own, where the base fits on the first.
  const std::string noteLine = "(" + note + ")";
  if (!note.empty() && !base.empty() && width(base) <= room && width(noteLine) <= room) {
    return {base, noteLine};
  }
  // Else two lines broken at the blank that leaves the wider of them narrowest.
  double best = std::numeric_limits<double>::infinity();
  std::vector<std::string> lines;
  for (size_t blank = whole.find(' '); blank != std::string::npos;
       blank = whole.find(' ', blank + 1)) {
    const std::string first = whole.substr(0, blank), second = whole.substr(blank + 1);
    const double wider = std::max(width(first), width(second));
    if (wider < best && !first.empty() && !second.empty()) {
      best = wider;
      lines = {first, second};
    }
  }
  if (best <= room) return lines;
  // Too long for two lines: the note, which says how the picture is drawn, keeps a line
  // of its own, and the base is cut.
  if (!note.empty() && !base.empty()) lines = {base, noteLine};
  if (lines.empty()) lines = {whole};
  for (std::string& line : lines) line = shortened(line, room, size, metrics);
  return lines;
}
