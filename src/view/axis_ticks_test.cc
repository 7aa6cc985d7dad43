#include "view/axis_ticks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(NiceTicksTest, PicksRoundValuesInsideTheRange) {
  struct Case {
    double low, high;
    int maxCount;
    std::vector<double> ticks;
    double step;
  };
  const Case cases[] = {
      {0, 1000, 5, {0, 200, 400, 600, 800, 1000}, 200},
      {0, 0.08, 4, {0, 0.02, 0.04, 0.06, 0.08}, 0.02},
      {-3, 7, 5, {-2, 0, 2, 4, 6}, 2},
      {35, 50, 3, {35, 40, 45, 50}, 5},
      {0.1, 0.3, 2, {0.1, 0.2, 0.3}, 0.1},  // 0.1 * 3 is not 0.3, yet the end counts
      {-1e-9, 1e-9, 2, {-1e-9, 0, 1e-9}, 1e-9},
      {5, 5, 4, {}, 0},
      {7, 3, 4, {}, 0},
      {0, INFINITY, 4, {}, 0},
  };
  for (const Case& c : cases) {
    double step = -1;
    const std::vector<double> ticks = niceTicks(c.low, c.high, c.maxCount, step);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << " " << c.high;
    for (size_t i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i], c.ticks[i], c.step * 1e-9);
    EXPECT_NEAR(step, c.step, c.step * 1e-12);
  }
}

TEST(LogTicksTest, MarksPowersOfTenOrRoundValuesWithinADecade) {
  struct Case {
    double low, high;
    int maxCount;
    std::vector<double> ticks;
  };
  const Case cases[] = {
      {0.01, 1000, 8, {0.01, 0.1, 1, 10, 100, 1000}},
      {0.005, 2e4, 8, {0.01, 0.1, 1, 10, 100, 1000, 1e4}},
      {1e-6, 1e6, 4, {1e-6, 1e-2, 1e2, 1e6}},  // every fourth power
      {0.05, 0.08, 3, {0.05, 0.06, 0.07, 0.08}},
      {2, 50, 5, {2, 5, 10, 20, 50}},  // one power of ten: 1, 2 and 5 times them
      {2, 50, 4, {20, 40}},            // too many of those: round values
      {0, 10, 4, {}},
      {5, 5, 4, {}},
  };
  for (const Case& c : cases) {
    const std::vector<double> ticks = logTicks(c.low, c.high, c.maxCount);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << " " << c.high;
    for (size_t i = 0; i < ticks.size(); ++i) EXPECT_DOUBLE_EQ(ticks[i], c.ticks[i]);
  }
}

TEST(FormatTickTest, ShowsAsManyDecimalsAsTheStepNeeds) {
  struct Case {
    double value, step;
    const char* text;
  };
  const Case cases[] = {
      {1000, 200, "1000"},  {0.06, 0.02, "0.06"},      {0.30000000000000004, 0.1, "0.3"},
      {-0.0, 0.5, "0"},     {-1e-17, 0.1, "0"},        {12.5, 2.5, "12.5"},
      {0.75, 0.25, "0.75"}, {2.5e-8, 5e-9, "2.5e-08"}, {3e12, 1e12, "3e+12"},
  };
  for (const Case& c : cases) EXPECT_EQ(formatTick(c.value, c.step), c.text) << c.value;
}

TEST(FormatValueTest, KeepsFourSignificantDigits) {
  EXPECT_EQ(formatValue(0.05), "0.05");
  EXPECT_EQ(formatValue(123456), "1.235e+05");
  EXPECT_EQ(formatValue(-0.0), "0");
  EXPECT_EQ(formatValue(NAN), "NaN");
  EXPECT_EQ(formatValue(-INFINITY), "-Infinity");
}

}  // namespace
