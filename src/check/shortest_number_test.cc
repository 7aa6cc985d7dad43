#include "check/shortest_number.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <random>

#include "check/json_text.h"

namespace {

TEST(NumberTextTest, IsTheShortestTextThatReadsBackExactly) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {100, "100"},
      {0.05, "0.05"},
      {1e50, "1e+50"},
      {-0.0, "-0"},
      {-2518.86, "-2518.86"},
      {0.1 + 0.2, "0.30000000000000004"},
      {5e-324, "5e-324"},
      {DBL_MAX, "1.7976931348623157e+308"},
      {NAN, "NaN"},
      {INFINITY, "Infinity"},
      {-INFINITY, "-Infinity"},
  };
  for (const Case& c : cases) {
    std::string text;
    appendNumber(text, c.value);
    EXPECT_EQ(text, c.text);
  }
  std::mt19937_64 random(19);
  for (int i = 0; i < 100000; ++i) {
    const uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    char text[kNumberTextBytes];
    const size_t length = numberText(value, text);
    double read = 0;
    std::from_chars(text, text + length, read);
    ASSERT_EQ(std::memcmp(&read, &value, sizeof value), 0) << std::string(text, length);
  }
}

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
