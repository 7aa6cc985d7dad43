#include "model/blocks/block_cells.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "mesh/node_axis_testing.h"
#include "model/paint/model_painter.h"

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

// The model's cells in record order as painted piece by piece, each the digit of the
// block (1-based, in file order) that shows there, '.' for the background. Pieces of
// `pieceCells` cells, so that slabs cut into columns and parts of columns are covered.
std::string paintedCells(const Mesh& mesh, std::vector<BlockRecord> records,
                         int64_t pieceCells = 1 << 20) {
  BlockList blocks;
  for (BlockRecord& record : records) appendBlock(blocks)->cells = blockCells(mesh, record);
  ModelPainter painter;
  EXPECT_FALSE(startPainting(painter, blocks, mesh.easting.cellCount, mesh.northing.cellCount,
                             mesh.elevation.cellCount, pieceCells));
  std::string pattern;
  ModelPiece piece;
  const uint32_t* labels = nullptr;
  while (paintNextPiece(painter, piece, labels)) {
    for (int64_t c = 0; c < cellsIn(piece); ++c) {
      const uint32_t label = labels == nullptr ? 0 : labels[c];
      pattern += label == 0 ? '.' : static_cast<char>('1' + labelledBlock(painter, label).position);
    }
  }
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
    std::string painted = paintedCells(small.mesh, {c.block});
    for (char& cell : painted) cell = cell == '1' ? '#' : cell;
    EXPECT_EQ(painted, c.painted) << c.name;
    // Pieces of single cells and of parts of columns paint the same cells.
    EXPECT_EQ(paintedCells(small.mesh, {c.block}, 1), paintedCells(small.mesh, {c.block}))
        << c.name;
  }
}

TEST(PaintBlockTest, OrdersTheRecordInPlace) {
  SmallMesh small;
  BlockRecord block{30, 10, 20, 0, 80, 100, 7};
  blockCells(small.mesh, block);
  EXPECT_EQ(block.e1, 10);
  EXPECT_EQ(block.e2, 30);
  EXPECT_EQ(block.n1, 0);
  EXPECT_EQ(block.n2, 20);
  EXPECT_EQ(block.z1, 100);
  EXPECT_EQ(block.z2, 80);
  BlockRecord withNaN{kNaN, 1, 5, kNaN, 1, kNaN, 7};
  blockCells(small.mesh, withNaN);
  EXPECT_EQ(withNaN.e2, 1);  // a NaN pair stays as read
  EXPECT_EQ(withNaN.n1, 5);
  EXPECT_EQ(withNaN.z1, 1);
}

TEST(PaintBlockTest, LaterBlocksWinInTheOverlap) {
  SmallMesh small;
  EXPECT_EQ(paintedCells(small.mesh, {{0, 20, 0, 10, 100, 80, 7}, {10, 30, 0, 10, 100, 90, 3}}),
            "11212.......");
  EXPECT_EQ(paintedCells(small.mesh, {{0, 20, 0, 10, 100, 80, 7}, {10, 30, 0, 10, 100, 90, 3}}, 1),
            "11212.......");
}

TEST(PaintBlockTest, AxesRunningTheOtherWayPaintNothing) {
  for (bool eastReversed : {true, false}) {
    SmallMesh small;
    // Negative easting widths, or negative elevation thicknesses.
    if (eastReversed) small.east = {30, 20, 10, 0};
    if (!eastReversed) small.down = {80, 90, 100};
    small.mesh = Mesh{axisOver(small.east), axisOver(small.north), axisOver(small.down)};
    EXPECT_EQ(paintedCells(small.mesh, {{0, 30, 0, 10, 100, 80, 7}}), "............")
        << eastReversed;
  }
}

TEST(PaintBlockTest, CellsStayWithinTheMesh) {
  SmallMesh small;
  BlockRecord everything{-5, 35, -5, 25, 105, 75, 7};
  const BlockCells cells = blockCells(small.mesh, everything);
  EXPECT_EQ(cells.easting.first, 1);
  EXPECT_EQ(cells.easting.last, 3);
  EXPECT_EQ(cells.northing.last, 2);
  EXPECT_EQ(cells.elevation.last, 2);
  EXPECT_EQ(cellsPainted(cells), 12);
  // An axis without cells: nothing is painted.
  std::vector<double> one = {0};
  Mesh flat{axisOver(one), small.mesh.northing, small.mesh.elevation};
  EXPECT_TRUE(paintsNothing(blockCells(flat, everything)));
}

}  // namespace
