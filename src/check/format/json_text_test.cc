#include "check/format/json_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(JsonTextTest, EscapesWhatJsonCannotHoldAndReplacesBrokenUtf8) {
  struct Case {
    const char* value;
    const char* json;
  };
  const Case cases[] = {
      {"plain", "\"plain\""},
      {"a \"b\" \\c", "\"a \\\"b\\\" \\\\c\""},
      {"tab\there\nline\x1f", "\"tab\\u0009here\\u000aline\\u001f\""},
      {"\xce\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", "\"\xce\xa9 \xe2\x82\xac \xf0\x9f\x98\x80\""},
      {"\x80", "\"\\ufffd\""},                                   // a stray continuation byte
      {"\xc0\x80", "\"\\ufffd\\ufffd\""},                        // an overlong form
      {"\xed\xa0\x80", "\"\\ufffd\\ufffd\\ufffd\""},             // a surrogate
      {"\xf4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""},  // beyond U+10FFFF
      {"\xe2\x82", "\"\\ufffd\\ufffd\""},                        // cut short
  };
  for (const Case& c : cases) {
    std::string json;
    appendJsonString(json, c.value);
    EXPECT_EQ(json, c.json) << c.value;
  }
  std::string numbers;
  for (const double value : {1.5, double{NAN}, -double{INFINITY}}) {
    appendJsonNumber(numbers, value);
    numbers.push_back(' ');
  }
  EXPECT_EQ(numbers, "1.5 \"NaN\" \"-Infinity\" ");
}

}  // namespace
