#include "companion/coordinate_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>
#include <vector>

namespace {

TEST(DecimalTextTest, RoundsAndDropsTheZerosThatEndTheDecimals) {
  struct Case {
    double value;
    int digits;
    const char* text;
  };
  const Case cases[] = {
      {6105250, 12, "6105250"},
      {-85.5, 12, "-85.5"},
      {0.1 + 0.2, 12, "0.3"},
      {0.1 + 0.2, 17, "0.30000000000000004"},
      {1e-5, 12, "1e-05"},
      {2.5e15, 12, "2.5e+15"},
      {-0.0, 12, "0"},
      {0.0001, 12, "0.0001"},
      {9.9999999999999, 12, "10"},
      {689.2999999999884, 12, "689.3"},
      {NAN, 12, "NaN"},
      {-INFINITY, 12, "-Infinity"},
      {501941.10000000003, 12, "501941.1"},
  };
  for (const Case& c : cases) EXPECT_EQ(decimalText(c.value, c.digits), c.text) << c.text;
}

TEST(SteppedTextTest, ShowsWorkedOutQuantitiesDownToTheStepOfTheirAxis) {
  std::vector<double> nearUtm = {500000.1, 500000.2}, small = {0, 0.25}, none = {0, NAN};
  const double utmStep = coordinateStep(nearUtm.data(), 2);
  EXPECT_EQ(utmStep, 1e-5);
  EXPECT_EQ(coordinateStep(small.data(), 2), 1e-11);
  EXPECT_EQ(coordinateStep(none.data(), 2), 0);
  struct Case {
    double value, step;
    const char* text;
  };
  const Case cases[] = {
      {0.09999999997671694, utmStep, "0.1"},
      {689.2999999999884, utmStep, "689.3"},
      {2.3e-11, utmStep, "0"},
      {7e-6, utmStep, "1e-05"},
      {-1.25, utmStep, "-1.25"},
      {0.1 + 0.2, 0, "0.3"},
      {NAN, utmStep, "NaN"},
      {-0.0, utmStep, "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(steppedText(c.value, c.step), c.text) << c.text;
}

// Nodes as a mesh makes them, a running sum of equal widths from an origin.
std::vector<double> runningSum(double origin, double width, int cells) {
  std::vector<double> nodes = {origin};
  for (int k = 0; k < cells; ++k) nodes.push_back(nodes.back() + width);
  return nodes;
}

TEST(NodeTextTest, ShowsNoRoundingNoiseAndTellsEveryNodeFromItsNeighbours) {
  const std::regex noise("\\.\\d*(0000000|9999999)");
  for (const auto& [origin, width] : {std::pair(500000.1, 0.1), std::pair(6105000.0, 0.01),
                                      std::pair(-2500.0, 0.3), std::pair(0.0, 1e-3)}) {
    const std::vector<double> nodes = runningSum(origin, width, 20000);
    const int32_t count = static_cast<int32_t>(nodes.size());
    const double step = coordinateStep(nodes.data(), count);
    for (int32_t k = 0; k < count; ++k) {
      const std::string text = nodeText(nodes.data(), count, k, step);
      ASSERT_FALSE(std::regex_search(text, noise)) << text;
      const double read = std::strtod(text.c_str(), nullptr);
      for (const int32_t beside : {k - 1, k + 1}) {
        if (beside < 0 || beside >= count) continue;
        ASSERT_LT(std::fabs(read - nodes[k]), std::fabs(read - nodes[beside])) << text;
      }
    }
  }
}

TEST(NodeTextTest, TakesMoreDigitsOnlyWhereNeighboursWouldReadAlike) {
  const double a = 6105000.0, b = std::nextafter(a, 1e9);
  const std::vector<double> nodes = {a - 250, a, b, b + 250, b + 250, NAN};
  const int32_t count = static_cast<int32_t>(nodes.size());
  const double step = coordinateStep(nodes.data(), count);
  EXPECT_EQ(nodeText(nodes.data(), count, 0, step), "6104750");
  EXPECT_EQ(nodeText(nodes.data(), count, 1, step), "6105000");
  EXPECT_EQ(nodeText(nodes.data(), count, 2, step), "6105000.000000001");
  EXPECT_EQ(nodeText(nodes.data(), count, 3, step), "6105250");  // an equal neighbour is no rival
  EXPECT_EQ(nodeText(nodes.data(), count, 4, step), "6105250");  // nor is a NaN
  EXPECT_EQ(nodeText(nodes.data(), count, 5, step), "NaN");
}

}  // namespace
