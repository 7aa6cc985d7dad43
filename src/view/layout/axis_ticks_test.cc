#include "view/layout/axis_ticks.h"

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

TEST(RoundStepsTest, ListsTheStepsThatLeaveEnoughMarksCoarsestFirst) {
  // 499875 to 500975: 500 leaves two marks, 200 the first to leave three.
  EXPECT_EQ(roundSteps(499875, 500975, 3, 10), (std::vector<double>{200, 100, 50, 20, 10}));
  EXPECT_EQ(roundSteps(499875, 500975, 2, 100), (std::vector<double>{500, 200, 100}));
  EXPECT_EQ(roundSteps(0, 1000, 3, 100), (std::vector<double>{500, 200, 100}));
  EXPECT_EQ(roundSteps(-0.3, 0.02, 3, 0.05), (std::vector<double>{0.1, 0.05}));
  EXPECT_TRUE(roundSteps(5, 5, 3, 1).empty());
  EXPECT_TRUE(roundSteps(0, 1, 3, 0).empty());
  EXPECT_EQ(ticksAtStep(499875, 500975, 200),
            (std::vector<double>{500000, 500200, 500400, 500600, 500800}));
}

TEST(LogTicksTest, MarksEveryPowerOfTenOrRoundValuesWithinADecade) {
  struct Case {
    double low, high;
    int maxCount;
    std::vector<double> ticks;
    LogMarks marks;
  };
  const Case cases[] = {
      {10, 1000, 2, {10, 100, 1000}, LogMarks::Decades},  // however few labels fit
      {0.005, 2e4, 8, {0.01, 0.1, 1, 10, 100, 1000, 1e4}, LogMarks::Decades},
      {0.5, 20, 8, {1, 10}, LogMarks::Decades},
      {2, 50, 5, {2, 5, 10, 20, 50}, LogMarks::Multiples},  // one power of ten
      {0.05, 0.08, 3, {0.05, 0.06, 0.07, 0.08}, LogMarks::Even},
      {2, 50, 4, {20, 40}, LogMarks::Even},  // too many multiples: round values
      {0, 10, 4, {}, LogMarks::Decades},
      {5, 5, 4, {}, LogMarks::Decades},
  };
  for (const Case& c : cases) {
    LogMarks marks = LogMarks::Decades;
    double step = -1;
    const std::vector<double> ticks = logTicks(c.low, c.high, c.maxCount, marks, step);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << " " << c.high;
    for (size_t i = 0; i < ticks.size(); ++i) EXPECT_DOUBLE_EQ(ticks[i], c.ticks[i]);
    if (!ticks.empty()) {
      EXPECT_EQ(marks, c.marks) << c.low << " " << c.high;
    }
    EXPECT_EQ(step > 0, !ticks.empty() && c.marks == LogMarks::Even) << c.low;
  }
}

TEST(TickTextsTest, WritesEveryMarkOfAnAxisInOneForm) {
  struct Case {
    std::vector<double> values;
    double step;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {{0, 200, 1000}, 200, {"0", "200", "1000"}},
      {{0, 0.02, 0.06, 0.08}, 0.02, {"0.00", "0.02", "0.06", "0.08"}},
      {{0.1, 0.2, 0.30000000000000004}, 0.1, {"0.1", "0.2", "0.3"}},
      {{-0.5, -0.0, 0.5}, 0.5, {"-0.5", "0.0", "0.5"}},
      {{10, 12.5, 15}, 2.5, {"10.0", "12.5", "15.0"}},
      {{6104000, 6106000}, 2000, {"6104000", "6106000"}},
      {{0, 5e8, 1e9, 1.5e9}, 5e8, {"0.0e+00", "5.0e+08", "1.0e+09", "1.5e+09"}},
      {{2e-8, 4e-8}, 2e-8, {"2e-08", "4e-08"}},
  };
  for (const Case& c : cases) EXPECT_EQ(tickTexts(c.values, c.step), c.texts) << c.step;
  EXPECT_EQ(logTickTexts({0.01, 1, 100, 1e4}),
            (std::vector<std::string>{"0.01", "1", "100", "10000"}));
  EXPECT_EQ(logTickTexts({0.02, 0.05, 0.1}), (std::vector<std::string>{"0.02", "0.05", "0.1"}));
  EXPECT_EQ(logTickTexts({1e-6, 1, 1e6, 1e8}),
            (std::vector<std::string>{"1e-06", "1e+00", "1e+06", "1e+08"}));
}

TEST(FormatValueTest, KeepsFourSignificantDigits) {
  EXPECT_EQ(formatValue(0.05), "0.05");
  EXPECT_EQ(formatValue(123456), "1.235e+05");
  EXPECT_EQ(formatValue(-0.0), "0");
  EXPECT_EQ(formatValue(NAN), "NaN");
  EXPECT_EQ(formatValue(-INFINITY), "-Infinity");
}

}  // namespace
