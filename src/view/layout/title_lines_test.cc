#include "view/layout/title_lines.h"

#include <gtest/gtest.h>

#include "view/scene/display_text.h"

namespace {

// Every character as wide as the font is large.
double characterWidths(const std::string& text, double size) {
  return static_cast<double>(codePoints(text).size()) * size;
}

TEST(TitleLinesTest, WrapsOrCutsATitleTooWideButNeverShrinksIt) {
  TextMetrics metrics;
  metrics.width = characterWidths;
  struct Case {
    const char* base;
    const char* note;
    double room;  // in characters of size 1
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", "", 10, {}},
      {"model.txt", "", 10, {"model.txt"}},
      {"", "vertical x2", 20, {"vertical x2"}},
      {"model.txt: cell 2", "vertical x2", 40, {"model.txt: cell 2 (vertical x2)"}},
      // Broken at the blank that balances the two lines.
      {"model.txt: cell 2", "vertical x2", 20, {"model.txt: cell 2", "(vertical x2)"}},
      {"aaa bbb ccc ddd eee fff", "", 12, {"aaa bbb ccc", "ddd eee fff"}},
      // Too long for two: the note keeps its line, the rest is cut.
      {"a_very_long_model_name.txt: cell 2",
       "vertical x2",
       15,
       {"a_very_long_mo\u2026", "(vertical x2)"}},
      {"aaaaaaaaaaaaaaaaaaaa", "", 8, {"aaaaaaa\u2026"}},
      {"\u03a9\u03a9\u03a9\u03a9\u03a9\u03a9", "", 4, {"\u03a9\u03a9\u03a9\u2026"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(titleLines(c.base, c.note, c.room, 1, metrics), c.lines) << c.base;
  }
}

}  // namespace
