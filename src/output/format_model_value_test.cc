#include "output/format_model_value.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "output/format_model_value_exact.h"

namespace {

using Formatter = void (*)(double, char*);

// Renders through `format` into a guarded buffer, so a write past the 10 characters shows.
std::string render(Formatter format, double value) {
  char buffer[kModelValueWidth + 2];
  std::memset(buffer, '#', sizeof buffer);
  format(value, buffer + 1);
  EXPECT_EQ(buffer[0], '#');
  EXPECT_EQ(buffer[kModelValueWidth + 1], '#');
  return std::string(buffer + 1, kModelValueWidth);
}

// Reads the four kept digits and the decimal exponent back out of a rendered value.
void readBack(const char* text, int& kept, int& exponent) {
  kept = (text[1] - '0') * 1000 + (text[3] - '0') * 100 + (text[4] - '0') * 10 + (text[5] - '0');
  const bool letter = text[6] == 'E';
  const char sign = letter ? text[7] : text[6];
  exponent = letter ? 0 : text[7] - '0';
  exponent = exponent * 100 + (text[8] - '0') * 10 + (text[9] - '0');
  if (sign == '-') exponent = -exponent;
}

struct Example {
  const char* what;
  double value;
  const char* text;
};

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kMinNormal = std::numeric_limits<double>::min();
constexpr double kMinSubnormal = std::numeric_limits<double>::denorm_min();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

const Example kExamples[] = {
    {"positive zero", 0.0, " 0.000E+00"},
    {"negative zero shows no sign", -0.0, " 0.000E+00"},
    {"0.05", 0.05, " 5.000E-02"},
    {"0.08", 0.08, " 8.000E-02"},
    {"0.1", 0.1, " 1.000E-01"},
    {"1", 1.0, " 1.000E+00"},
    {"negative fills the field", -2.5, "-2.500E+00"},
    {"-0.001", -0.001, "-1.000E-03"},
    {"100", 100.0, " 1.000E+02"},
    {"plain rounding up", 123456.789, " 1.235E+05"},
    {"tie to even, down", 12345.0, " 1.234E+04"},
    {"tie to even, up", 1235.5, " 1.236E+03"},
    {"binary tie down", 1.0625, " 1.062E+00"},
    {"negative binary tie down", -1.0625, "-1.062E+00"},
    {"binary tie up", 1.1875, " 1.188E+00"},
    {"stored just below a decimal tie", 9.9995, " 9.999E+00"},
    {"carry into the exponent", 9.99951, " 1.000E+01"},
    {"stored just above a decimal tie", 999.95, " 1.000E+03"},
    {"1e99 stored just below", 1e99, " 1.000E+99"},
    {"1e-99", 1e-99, " 1.000E-99"},
    {"carry from E+99 to +100", 9.9996e99, " 1.000+100"},
    {"1e100", 1e100, " 1.000+100"},
    {"1e-100", 1e-100, " 1.000-100"},
    {"1e-300", 1e-300, " 1.000-300"},
    {"-1e300", -1e300, "-1.000+300"},
    {"largest double", kMax, " 1.798+308"},
    {"smallest normal", kMinNormal, " 2.225-308"},
    {"smallest subnormal", kMinSubnormal, " 4.941-324"},
    {"positive infinity", kInfinity, "  Infinity"},
    {"negative infinity", -kInfinity, " -Infinity"},
    {"NaN", std::numeric_limits<double>::quiet_NaN(), "       NaN"},
    // Beyond the worked examples: NaN never shows a sign or payload.
    {"negative NaN", -std::numeric_limits<double>::quiet_NaN(), "       NaN"},
    {"signalling NaN", std::numeric_limits<double>::signaling_NaN(), "       NaN"},
    {"NaN with payload", std::bit_cast<double>(uint64_t{0xfff0000000000123}), "       NaN"},
    // Carries that change the exponent form, for both signs of value and of exponent.
    {"negative carry from E+99 to +100", -9.9996e99, "-1.000+100"},
    {"carry from -100 to E-99", 9.9996e-100, " 1.000E-99"},
    {"negative carry from -100 to E-99", -9.9996e-100, "-1.000E-99"},
    {"carry from -101 to -100", 9.9996e-101, " 1.000-100"},
    {"stays at -100 when stored below the tie", 9.9995e-100, " 9.999-100"},
    {"rounds up at +99 when stored above the tie", 9.9995e99, " 1.000+100"},
    // Subnormals, from their exact values.
    {"twice the smallest subnormal", 2 * kMinSubnormal, " 9.881-324"},
    {"three times the smallest subnormal", 3 * kMinSubnormal, " 1.482-323"},
    {"largest subnormal", kMinNormal - kMinSubnormal, " 2.225-308"},
    {"subnormal 1e-310", 1e-310, " 1.000-310"},
    {"negative smallest subnormal", -kMinSubnormal, "-4.941-324"},
};

TEST(FormatModelValue, RendersTheExamplesTable) {
  for (const Example& example : kExamples) {
    EXPECT_EQ(render(formatModelValue, example.value), example.text) << example.what;
    EXPECT_EQ(render(formatModelValueExact, example.value), example.text) << example.what;
  }
}

// Builds (10 * kept + 5) * 10^(exponent - 4) as a double when it is exactly representable:
// the value halfway between two 4-digit decimals.
bool exactTie(int kept, int exponent, double& tie) {
  const uint64_t digits = uint64_t(kept) * 10 + 5;
  const int power = exponent - 4;
  uint64_t scaled = digits;
  for (int i = 0; i < power; ++i) scaled *= 5;  // callers keep power <= 20: below 2^64
  for (int i = 0; i < -power; ++i) {
    if (scaled % 5 != 0) return false;
    scaled /= 5;
  }
  if (scaled >= uint64_t{1} << 53) return false;  // odd and too wide for a double
  tie = std::ldexp(static_cast<double>(scaled), power);
  return true;
}

// Whether both forms render `value` with its sign, these four digits and this exponent.
testing::AssertionResult rendersDigits(double value, int kept, int exponent) {
  if (kept == 10000) {
    kept = 1000;
    ++exponent;
  }
  for (Formatter format : {formatModelValue, formatModelValueExact}) {
    char text[kModelValueWidth];
    format(value, text);
    int gotKept = 0;
    int gotExponent = 0;
    readBack(text, gotKept, gotExponent);
    if (gotKept != kept || gotExponent != exponent || text[0] != (value < 0 ? '-' : ' ')) {
      return testing::AssertionFailure() << std::string(text, kModelValueWidth) << " for " << value
                                         << ", expected " << kept << " and exponent " << exponent;
    }
  }
  return testing::AssertionSuccess();
}

TEST(FormatModelValue, RoundsEveryExactTieToEvenAndItsNeighboursAway) {
  int ties = 0;
  // Below -3 no tie is a double (5^8 > 99995); above 21 none fits in 53 bits.
  for (int exponent = -10; exponent <= 24; ++exponent) {
    for (int kept = 1000; kept <= 9999; ++kept) {
      double tie = 0;
      if (!exactTie(kept, exponent, tie)) continue;
      ++ties;
      const int even = kept % 2 == 0 ? kept : kept + 1;
      for (double sign : {1.0, -1.0}) {
        ASSERT_TRUE(rendersDigits(sign * tie, even, exponent));
        ASSERT_TRUE(rendersDigits(sign * std::nextafter(tie, 0.0), kept, exponent));
        ASSERT_TRUE(rendersDigits(sign * std::nextafter(tie, kInfinity), kept + 1, exponent));
      }
    }
  }
  EXPECT_GT(ties, 100000);
}

testing::AssertionResult sameAsExact(double value) {
  char fast[kModelValueWidth];
  char exact[kModelValueWidth];
  formatModelValue(value, fast);
  formatModelValueExact(value, exact);
  if (std::memcmp(fast, exact, kModelValueWidth) != 0) {
    return testing::AssertionFailure()
           << "fast '" << std::string(fast, kModelValueWidth) << "', exact '"
           << std::string(exact, kModelValueWidth) << "' for bits " << std::hex
           << std::bit_cast<uint64_t>(value);
  }
  return testing::AssertionSuccess();
}

// The double nearest a decimal midpoint d.ddd5 * 10^k and its two neighbours lie on or around
// the rounding boundary, where an inexact method goes wrong first.
TEST(FormatModelValue, MatchesExactFormNearDecimalMidpointsAtEveryExponent) {
  std::mt19937_64 random(20240611);
  for (int exponent = -324; exponent <= 308; ++exponent) {
    for (int trial = 0; trial < 40; ++trial) {
      const int kept = trial == 0 ? 9999 : trial == 1 ? 1000 : 1000 + int(random() % 9000);
      char text[32];
      const int length = std::snprintf(text, sizeof text, "%d5e%d", kept, exponent - 4);
      double midpoint = 0;
      if (std::from_chars(text, text + length, midpoint).ec != std::errc{}) continue;
      ASSERT_TRUE(sameAsExact(std::nextafter(midpoint, 0.0)));
      ASSERT_TRUE(sameAsExact(midpoint));
      ASSERT_TRUE(sameAsExact(std::nextafter(midpoint, kInfinity)));
      ASSERT_TRUE(sameAsExact(-midpoint));
    }
  }
}

// Values as block files write them, a few significant digits at a moderate exponent,
// which the fast path takes from one rounded product; the neighbours of each too.
TEST(FormatModelValue, MatchesExactFormOnShortDecimals) {
  std::mt19937_64 random(2026);
  for (int i = 0; i < 1000000; ++i) {
    char text[48];
    const int digits = 1 + static_cast<int>(random() % 9);
    const int length = std::snprintf(text, sizeof text, "%llue%d",
                                     static_cast<unsigned long long>(random() % 1000000000) %
                                         static_cast<unsigned long long>(std::pow(10, digits)),
                                     static_cast<int>(random() % 56) - 28);
    double value = 0;
    ASSERT_EQ(std::from_chars(text, text + length, value).ec, std::errc{}) << text;
    ASSERT_TRUE(sameAsExact(value)) << text;
    ASSERT_TRUE(sameAsExact(std::nextafter(value, kInfinity))) << text;
  }
}

TEST(FormatModelValue, MatchesExactFormOnRandomBitPatterns) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 2000000; ++i) ASSERT_TRUE(sameAsExact(std::bit_cast<double>(random())));
}

}  // namespace
