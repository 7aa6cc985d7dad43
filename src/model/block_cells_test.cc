#include "model/paint_block.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "mesh/node_axis_testing.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// The mesh of the worked example: 3 easting, 2 northing, 2 elevation cells.
struct SmallMesh {
  std::vector<double> east = {0, 10, 20, 30};
  std::vector<double> north = {0, 10, 20};
  std::vector<double> down = {100, 90, 80};
  Mesh mesh{axisOver(east), axisOver(north), axisOver(down)};
};

// The model's cells in storage order: '#' where the block's value is, '.' for background.
std::string paintedCells(const CellModel& model, size_t cells) {
  std::string pattern;
  for (size_t c = 0; c < cells; ++c) pattern += model.values[c] == 7 ? '#' : '.';
  return pattern;
}

struct PaintCase {
  const char* name;
  BlockRecord block;
  const char* painted;
};

TEST(PaintBlockTest, PaintsCellsBetweenSnappedNodes) {
  const PaintCase cases[] = {
      {"worked example", {10, 30, 0, 10, 80, 100, 7}, "..####......"},
      {"bounds in the other order", {30, 10, 10, 0, 100, 80, 7}, "..####......"},
      {"second northing row", {0, 20, 10, 20, 100, 80, 7}, "......####.."},
      {"whole model", {-5, 35, -5, 25, 105, 75, 7}, "############"},
      {"top layer only", {10, 30, 0, 10, 100, 90, 7}, "..#.#......."},
      {"midpoints snap to the lower index", {5, 25, 0, 10, 95, 85, 7}, "#.#........."},
      {"bounds inside one cell cover it", {2, 8, 2, 8, 98, 92, 7}, "#..........."},
      {"thinner than a cell paints nothing", {4, 5, 0, 10, 100, 80, 7}, "............"},
      {"equal bounds paint nothing", {10, 10, 0, 10, 100, 80, 7}, "............"},
      {"beyond the end paints nothing", {40, 50, 0, 10, 100, 80, 7}, "............"},
      {"reaching past the mesh is cut", {15, 1000, 0, 10, 100, 80, 7}, "..####......"},
      {"lower bound NaN starts at the edge", {kNaN, 20, 0, 10, 100, 80, 7}, "####........"},
      {"upper bound NaN paints nothing", {0, kNaN, 0, 10, 100, 80, 7}, "............"},
      {"lower bound -infinity starts at the edge", {-kInf, 10, 0, 10, 100, 80, 7}, "##.........."},
      {"lower bound too far starts at the edge", {-1e60, 10, 0, 10, 100, 80, 7}, "##.........."},
      {"upper bound +infinity paints nothing", {0, kInf, 0, 10, 100, 80, 7}, "............"},
      {"top above the mesh", {0, 10, 0, 10, 1e60, 90, 7}, "#..........."},
  };
  for (const PaintCase& c : cases) {
    SmallMesh small;
    std::vector<double> values(12);
    CellModel model{2, 3, 2, values.data()};
    fillModel(model, 0);
    BlockRecord block = c.block;
    paintBlock(model, small.mesh, block);
    EXPECT_EQ(paintedCells(model, values.size()), c.painted) << c.name;
  }
}

TEST(PaintBlockTest, OrdersTheRecordInPlace) {
  SmallMesh small;
  std::vector<double> values(12);
  CellModel model{2, 3, 2, values.data()};
  BlockRecord block{30, 10, 20, 0, 80, 100, 7};
  paintBlock(model, small.mesh, block);
  EXPECT_EQ(block.e1, 10);
  EXPECT_EQ(block.e2, 30);
  EXPECT_EQ(block.n1, 0);
  EXPECT_EQ(block.n2, 20);
  EXPECT_EQ(block.z1, 100);
  EXPECT_EQ(block.z2, 80);
  BlockRecord withNaN{kNaN, 1, 5, kNaN, 1, kNaN, 7};
  paintBlock(model, small.mesh, withNaN);
  EXPECT_EQ(withNaN.e2, 1);  // a NaN pair stays as read
  EXPECT_EQ(withNaN.n1, 5);
  EXPECT_EQ(withNaN.z1, 1);
}

TEST(PaintBlockTest, LaterBlocksWinInTheOverlap) {
  SmallMesh small;
  std::vector<double> values(12);
  CellModel model{2, 3, 2, values.data()};
  fillModel(model, 0);
  BlockRecord first{0, 20, 0, 10, 100, 80, 7};
  BlockRecord second{10, 30, 0, 10, 100, 90, 3};
  paintBlock(model, small.mesh, first);
  paintBlock(model, small.mesh, second);
  EXPECT_EQ(values, (std::vector<double>{7, 7, 3, 7, 3, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(PaintBlockTest, AxesRunningTheOtherWayPaintNothing) {
  for (bool eastReversed : {true, false}) {
    SmallMesh small;
    // Negative easting widths, or negative elevation thicknesses.
    if (eastReversed) small.east = {30, 20, 10, 0};
    if (!eastReversed) small.down = {80, 90, 100};
    small.mesh = Mesh{axisOver(small.east), axisOver(small.north), axisOver(small.down)};
    std::vector<double> values(12);
    CellModel model{2, 3, 2, values.data()};
    fillModel(model, 0);
    BlockRecord block{0, 30, 0, 10, 100, 80, 7};
    paintBlock(model, small.mesh, block);
    EXPECT_EQ(paintedCells(model, values.size()), "............") << eastReversed;
  }
}

TEST(PaintBlockTest, NeverWritesPastTheModel) {
  SmallMesh small;
  // A model smaller than the mesh's axes: only its own cells may change.
  std::vector<double> values(2 * 2 * 1);
  CellModel model{2, 2, 1, values.data()};
  fillModel(model, 0);
  BlockRecord everything{-5, 35, -5, 25, 105, 75, 7};
  paintBlock(model, small.mesh, everything);
  EXPECT_EQ(paintedCells(model, values.size()), "####");
  // A model without cells is never touched.
  CellModel empty{0, 3, 2, nullptr};
  fillModel(empty, 1);
  paintBlock(empty, small.mesh, everything);
}

}  // namespace
