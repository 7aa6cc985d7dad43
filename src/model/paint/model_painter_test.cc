// The painter against the whole-array reference: the same block shows in every cell,
// whatever the pieces the model is cut into.
#include "model/paint/model_painter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "mesh/node_axis_testing.h"
#include "model/blocks/block_cells.h"
#include "model/paint/plain_model_testing.h"

namespace {

// Nodes of up to `maxCells` cells from `origin`, rising (or falling) by widths that are
// now and then zero, so that some blocks snap to repeated nodes.
std::vector<double> randomNodes(std::mt19937& random, int maxCells, double origin, double step) {
  std::vector<double> nodes = {origin};
  const int cells = static_cast<int>(random() % static_cast<unsigned>(maxCells + 1));
  for (int k = 0; k < cells; ++k) {
    nodes.push_back(nodes.back() + (random() % 8 == 0 ? 0 : step * (1 + random() % 3)));
  }
  return nodes;
}

double randomBound(std::mt19937& random, const std::vector<double>& nodes) {
  const double low = std::min(nodes.front(), nodes.back()) - 5;
  const double high = std::max(nodes.front(), nodes.back()) + 5;
  return std::uniform_real_distribution<double>(low, high)(random);
}

TEST(ModelPainterTest, PaintsAsTheWholeArrayWhateverThePieces) {
  std::mt19937 random(431);
  for (int trial = 0; trial < 300; ++trial) {
    std::vector<double> east = randomNodes(random, 9, 0, 10);
    std::vector<double> north = randomNodes(random, 9, 0, 10);
    std::vector<double> down = randomNodes(random, 9, 100, -10);
    const Mesh mesh{axisOver(east), axisOver(north), axisOver(down)};
    const int64_t me = mesh.easting.cellCount, mz = mesh.elevation.cellCount;
    // Values are the blocks' places in the file + 1, so that the reference's cells are
    // the labels the painter must give.
    std::vector<BlockRecord> records;
    const int count = static_cast<int>(random() % 40);
    for (int b = 0; b < count; ++b) {
      records.push_back({randomBound(random, east), randomBound(random, east),
                         randomBound(random, north), randomBound(random, north),
                         randomBound(random, down), randomBound(random, down),
                         static_cast<double>(b + 1)});
    }
    const std::vector<double> reference = plainModelCells(mesh, 0, records);
    // Single cells, parts of columns, whole columns and runs of them, whole slabs.
    for (int64_t pieceCells : {int64_t{1}, int64_t{2}, int64_t{3}, mz - 1, mz, mz + 1, 2 * mz + 1,
                               me * mz - 1, me * mz, kPieceCells}) {
      BlockList blocks;
      for (BlockRecord record : records) appendBlock(blocks)->cells = blockCells(mesh, record);
      ModelPainter painter;
      ASSERT_FALSE(startPainting(painter, blocks, mesh.easting.cellCount, mesh.northing.cellCount,
                                 mesh.elevation.cellCount, pieceCells));
      std::vector<double> painted;
      ModelPiece piece;
      const uint32_t* labels = nullptr;
      while (paintNextPiece(painter, piece, labels)) {
        for (int64_t c = 0; c < cellsIn(piece); ++c) {
          const uint32_t label = labels == nullptr ? 0 : labels[c];
          painted.push_back(label == 0 ? 0 : labelledBlock(painter, label).position + 1.0);
        }
      }
      ASSERT_EQ(painted, reference) << "trial " << trial << ", pieces of " << pieceCells;
    }
  }
}

}  // namespace
