#include "view/scene/display_text.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayTextTest, KeepsValidUtf8OnOneLine) {
  struct Case {
    std::string text, display;
    std::u32string codes;  // of the text displayed
  };
  const Case cases[] = {
      {"resistivity (ohm m)", "resistivity (ohm m)", U"resistivity (ohm m)"},
      {"\xCF\x81 (\xCE\xA9\xC2\xB7m)", "\xCF\x81 (\xCE\xA9\xC2\xB7m)",
       U"\u03C1 (\u03A9\u00B7m)"},  // ρ (Ω·m)
      {"a\nb\tc\x7F", "a?b?c?", U"a?b?c?"},
      {"\xFF\xC3(\xE2\x82", "?\?(??", U"?\?(??"},   // stray, cut and unfinished bytes
      {"\xC0\xAF\xED\xA0\x80", "?????", U"?????"},  // an overlong form and a surrogate
      {"\xF0\x9F\x8C\x8D!", "\xF0\x9F\x8C\x8D!", U"\U0001F30D!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(displayText(c.text), c.display) << c.text;
    EXPECT_TRUE(codePoints(c.text) == c.codes) << c.text;
  }
}

}  // namespace
