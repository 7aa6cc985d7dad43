#include "check/format/shortest_number.h"

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

// Numbers people type in plain decimals keep that form, however short the exponent form.
TEST(NumberTextTest, PlainNumbersStayPlain) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {500000, "500000"},
      {-0.00012, "-0.00012"},
      {1e-4, "0.0001"},
      {9e-5, "9e-05"},
      {1e14, "100000000000000"},
      {1e15, "1e+15"},
      {0.1 + 0.2, "0.30000000000000004"},
      {123456789012345.6, "123456789012345.6"},
      {0, "0"},
      {NAN, "NaN"},
  };
  for (const Case& c : cases) {
    std::string text;
    appendPlainNumber(text, c.value);
    EXPECT_EQ(text, c.text);
  }
}

// The fast forms for short decimals against the library's shortest conversions: decimals
// as block files write them, their neighbours, and any finite bit pattern.
TEST(NumberTextTest, MatchesTheLibrarysShortestFormEverywhere) {
  std::mt19937_64 random(2026);
  const auto same = [](double value) {
    char fast[kNumberTextBytes];
    char plain[kNumberTextBytes];
    const size_t length = numberText(value, fast);
    char* end = std::to_chars(plain, plain + kNumberTextBytes, value).ptr;
    if (std::string(fast, length) != std::string(plain, end)) return false;
    const double magnitude = std::fabs(value);
    const bool fixed = magnitude >= kLeastPlain && magnitude < kMostPlain;
    const size_t plainLength = plainNumberText(value, fast);
    end = fixed
              ? std::to_chars(plain, plain + kNumberTextBytes, value, std::chars_format::fixed).ptr
              : std::to_chars(plain, plain + kNumberTextBytes, value).ptr;
    return std::string(fast, plainLength) == std::string(plain, end);
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
