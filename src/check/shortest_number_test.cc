#include "check/shortest_number.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>

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
}

// The fast form for short decimals against the library's shortest conversion: decimals as
// block files write them, their neighbours, and any finite bit pattern.
TEST(NumberTextTest, MatchesTheLibrarysShortestFormEverywhere) {
  std::mt19937_64 random(2026);
  const auto same = [](double value) {
    char fast[kNumberTextBytes];
    char plain[kNumberTextBytes];
    const size_t length = numberText(value, fast);
    char* end = std::to_chars(plain, plain + kNumberTextBytes, value).ptr;
    return std::string(fast, length) == std::string(plain, end);
  };
  for (int i = 0; i < 1000000; ++i) {
    char text[48];
    const int length = std::snprintf(
        text, sizeof text, "%s%llue%d", random() % 2 ? "-" : "",
        static_cast<unsigned long long>(random() % 10000000000000000u) >> (random() % 50),
        static_cast<int>(random() % 40) - 25);
    double value = 0;
    std::from_chars(text, text + length, value);
    ASSERT_TRUE(same(value)) << text;
    ASSERT_TRUE(same(std::nextafter(value, INFINITY))) << text;
    const double any = std::bit_cast<double>(random());
    ASSERT_TRUE(!std::isfinite(any) || same(any)) << any;
  }
}

}  // namespace
