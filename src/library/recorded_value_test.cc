#include "library/recorded_value.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "boxpaint/model.h"

namespace {

// The fast reading of every text the writer makes equals the plain one, bit for bit: over
// random bit patterns (every exponent), values near the powers of ten, and the edges.
TEST(RecordedValueTest, FastReadingEqualsPlainReading) {
  std::mt19937_64 random(20261207);
  std::vector<double> values = {0.0,
                                -0.0,
                                1.0,
                                9.9995,
                                9.99949999,
                                1e22,
                                1e-22,
                                1e25,
                                1e-19,
                                DBL_MAX,
                                -DBL_MAX,
                                DBL_MIN,
                                DBL_TRUE_MIN,
                                1.7975e308,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()};
  for (int power = -30; power <= 30; ++power) {
    const double ten = std::pow(10.0, power);
    for (double scale : {1.0, 0.99995, 9.9995, 1.00005, 5.0005}) values.push_back(scale * ten);
  }
  for (int i = 0; i < 200000; ++i) values.push_back(std::bit_cast<double>(random()));
  for (double value : values) {
    char text[kModelValueWidth];
    formatModelValue(value, text);
    const double fast = modelTextValue(text);
    const double plain = modelTextValuePlain(text);
    if (std::isnan(plain)) {
      EXPECT_TRUE(std::isnan(fast)) << value;
    } else {
      EXPECT_EQ(std::bit_cast<uint64_t>(fast), std::bit_cast<uint64_t>(plain)) << value;
    }
  }
}

// A recorded value is its own record: rendering it again gives the same text, so that
// painting and then writing gives the bytes boxpaint writes.
TEST(RecordedValueTest, RecordedValueRendersToTheSameText) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 100000; ++i) {
    const double value = std::bit_cast<double>(random());
    char first[kModelValueWidth], again[kModelValueWidth];
    formatModelValue(value, first);
    formatModelValue(boxpaint::recordedValue(value), again);
    EXPECT_EQ(std::string(first, sizeof first), std::string(again, sizeof again)) << value;
  }
  EXPECT_EQ(boxpaint::recordedValue(DBL_MAX), DBL_MAX);
  EXPECT_EQ(boxpaint::recordedValue(1.79765e308), DBL_MAX);
  EXPECT_FALSE(std::signbit(boxpaint::recordedValue(-0.0)));
  EXPECT_EQ(boxpaint::recordedValue(2.71828), 2.718);
}

}  // namespace
