#include "mesh/node_sums.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "mesh/node_axis_testing.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct SumCase {
  const char* name;
  std::vector<double> read;  // origin, then widths
  bool falling;
  std::vector<double> nodes;
  NodeOrder order;
};

TEST(SumNodeWidthsTest, TurnsWidthsIntoCoordinates) {
  const SumCase cases[] = {
      {"one cell", {5, 2}, false, {5, 7}, NodeOrder::kRising},
      {"rising", {0, 10, 10, 10}, false, {0, 10, 20, 30}, NodeOrder::kRising},
      {"elevation falls", {100, 10, 20}, true, {100, 90, 70}, NodeOrder::kFalling},
      {"zero width repeats", {0, 10, 0, 10}, false, {0, 10, 10, 20}, NodeOrder::kRising},
      {"negative widths", {0, -10, -5}, false, {0, -10, -15}, NodeOrder::kFalling},
      {"zigzag", {0, 10, -20}, false, {0, 10, -10}, NodeOrder::kUnsorted},
      {"NaN width", {0, 1, kNaN, 1}, false, {0, 1, kNaN, kNaN}, NodeOrder::kUnsorted},
      // Each step rounds on its own: 1 + 1e-16 is 1, twice; never 1 + 2e-16.
      {"sequential rounding", {1, 1e-16, 1e-16}, false, {1, 1, 1}, NodeOrder::kRising},
      {"no cells", {5}, false, {5}, NodeOrder::kRising},
  };
  for (const SumCase& c : cases) {
    std::vector<double> nodes = c.read;
    NodeAxis axis = axisOver(nodes);
    sumNodeWidths(axis, c.falling);
    for (size_t k = 0; k < nodes.size(); ++k) {
      if (std::isnan(c.nodes[k])) {
        EXPECT_TRUE(std::isnan(nodes[k])) << c.name << " node " << k + 1;
      } else {
        EXPECT_EQ(nodes[k], c.nodes[k]) << c.name << " node " << k + 1;
      }
    }
    EXPECT_EQ(axis.order, c.order) << c.name;
  }
}

TEST(SumNodeWidthsTest, FlushesSubnormalStepsToZeroOfTheirSign) {
  struct FlushCase {
    double origin, width;
    bool falling;
    bool negativeZero;
  } cases[] = {
      {3e-308, 2.9e-308, true, false},   // exact 1e-309: subnormal, +0
      {-3e-308, 2.9e-308, false, true},  // exact -1e-309: subnormal, -0
      {1e-308, 0.99e-308, true, false},  // subnormal operands, subnormal result
      {2.9e-308, 3e-308, true, true},
  };
  for (const FlushCase& c : cases) {
    std::vector<double> nodes = {c.origin, c.width, 5e-324};
    NodeAxis axis = axisOver(nodes);
    sumNodeWidths(axis, c.falling);
    EXPECT_EQ(nodes[1], 0.0) << c.origin << " width " << c.width;
    EXPECT_EQ(std::signbit(nodes[1]), c.negativeZero) << c.origin << " width " << c.width;
    // The next step, 0 +/- the smallest subnormal, is flushed again.
    EXPECT_EQ(nodes[2], 0.0);
  }
}

TEST(SumNodeWidthsTest, LeavesAxisWithoutCellsAsRead) {
  NodeAxis none;  // negative count: no node array at all
  none.cellCount = -2;
  sumNodeWidths(none, false);
  EXPECT_EQ(none.nodes, nullptr);
  // Nodes past a zero count, were there any, are not summed.
  std::vector<double> nodes = {4, 3};
  NodeAxis axis = axisOver(nodes);
  axis.cellCount = 0;
  sumNodeWidths(axis, false);
  EXPECT_EQ(nodes, (std::vector<double>{4, 3}));
}

}  // namespace
