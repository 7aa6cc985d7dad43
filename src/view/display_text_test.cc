#include "view/display_text.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayTextTest, KeepsValidUtf8OnOneLine) {
  struct Case {
    std::string text, display, ascii;
  };
  const Case cases[] = {
      {"resistivity (ohm m)", "resistivity (ohm m)", "resistivity (ohm m)"},
      {"\xCF\x81 (\xCE\xA9\xC2\xB7m)", "\xCF\x81 (\xCE\xA9\xC2\xB7m)", "? (??m)"},  // ρ (Ω·m)
      {"a\nb\tc\x7F", "a?b?c?", "a?b?c?"},
      {"\xFF\xC3(\xE2\x82", "?\?(??", "?\?(??"},   // stray, cut and unfinished bytes
      {"\xC0\xAF\xED\xA0\x80", "?????", "?????"},  // an overlong form and a surrogate
      {"\xF0\x9F\x8C\x8D!", "\xF0\x9F\x8C\x8D!", "?!"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(displayText(c.text), c.display) << c.text;
    EXPECT_EQ(asciiText(c.text), c.ascii) << c.text;
  }
}

}  // namespace
