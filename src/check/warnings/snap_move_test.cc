#include "check/warnings/snap_move.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "mesh/node_axis_testing.h"

namespace {

TEST(SnapMoveTest, JudgesTheMoveAgainstHalfTheCellTheBoundLiesIn) {
  std::vector<double> rising = {0, 10, 30, 60}, falling = {100, 90, 70}, zigzag = {0, 10, 5, 40};
  std::vector<double> single = {5};
  struct Case {
    std::vector<double>* nodes;
    double bound;
    int32_t node;
    double distance, halfCell;
    bool tooFar;
  };
  const Case cases[] = {
      {&rising, 12, 2, 2, 10, false},      // inside the mesh: never too far
      {&rising, 20, 2, 10, 10, false},     // halfway: the lower node, exactly half a cell
      {&rising, -5, 1, 5, 5, false},       // half the end cell beyond: not more
      {&rising, -5.25, 1, 5.25, 5, true},  // just more
      {&rising, 80, 4, 20, 15, true},      // beyond the far end: against the end cell
      {&falling, 95, 1, 5, 5, false},      // elevation-like nodes
      {&falling, 59.5, 3, 10.5, 10, true},
      {&zigzag, 8, 2, 2, 5, false},  // held by cells 1 and 2: the lower, half of 10
      {&single, 7, 1, 0, 0, false},  // no cell: no move is judged
  };
  for (const Case& c : cases) {
    const NodeAxis axis = axisOver(*c.nodes);
    const SnapMove move = snapMove(axis, c.bound);
    EXPECT_EQ(move.node, c.node) << c.bound;
    EXPECT_EQ(move.distance, c.distance) << c.bound;
    EXPECT_EQ(move.halfCell, c.halfCell) << c.bound;
    EXPECT_EQ(move.tooFar, c.tooFar) << c.bound;
  }
  const NodeAxis axis = axisOver(rising);
  for (const double bound : {double{NAN}, double{INFINITY}, 1e300}) {
    const SnapMove move = snapMove(axis, bound);
    EXPECT_EQ(move.node, 0) << bound;
    EXPECT_TRUE(move.tooFar) << bound;
  }
}

// The plain form: the lowest cell whose two nodes hold x, found by walking the nodes.
int32_t cellHoldingByWalk(const std::vector<double>& nodes, double x) {
  for (size_t cell = 1; cell < nodes.size(); ++cell) {
    if (std::min(nodes[cell - 1], nodes[cell]) <= x &&
        x <= std::max(nodes[cell - 1], nodes[cell])) {
      return static_cast<int32_t>(cell);
    }
  }
  return 0;
}

TEST(CellHoldingTest, TheSearchOfSortedNodesFindsACellTheWalkFinds) {
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> width(0, 3);
  for (int round = 0; round < 20; ++round) {
    std::vector<double> nodes = {-7};
    for (int k = 0; k < 40; ++k) nodes.push_back(nodes.back() + std::floor(width(random)));
    if (round % 2 == 1) {
      for (double& node : nodes) node = -node;  // falling, as elevation nodes do
    }
    const NodeAxis axis = axisOver(nodes);
    ASSERT_NE(axis.order, NodeOrder::kUnsorted);
    for (double x = -130; x <= 130; x += 0.25) {
      const int32_t found = cellHolding(axis, x);
      const int32_t walked = cellHoldingByWalk(nodes, x);
      ASSERT_EQ(found == 0, walked == 0) << x;
      if (found == 0) continue;
      // On a node shared by two cells either will do; between nodes only one holds x.
      ASSERT_LE(std::min(nodes[found - 1], nodes[found]), x) << x;
      ASSERT_GE(std::max(nodes[found - 1], nodes[found]), x) << x;
      if (x != std::round(x)) {
        ASSERT_EQ(found, walked) << x;
      }
    }
  }
}

}  // namespace
