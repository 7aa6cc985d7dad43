#include "model/paint_block.h"

#include <algorithm>
#include <cstdint>

#include "mesh/nearest_node.h"
#include "model/order_block_bounds.h"

namespace {

// The cells first..last (from 1) that lie between two snapped nodes; empty when first > last.
struct CellRange {
  int64_t first;
  int64_t last;
};

// Cells lower..upper-1, kept inside 1..extent. A lower node index of 0 (no node near the
// bound) starts the range at the mesh's edge; an upper index of 0 leaves it empty. The
// extent clip matters only when the model is smaller than the mesh's axis.
CellRange cellsBetween(int32_t lowerNode, int32_t upperNode, int32_t extent) {
  return {std::max<int64_t>(lowerNode, 1), std::min<int64_t>(int64_t{upperNode} - 1, extent)};
}

int64_t cellTotal(const CellModel& model) {
  if (model.mz <= 0 || model.me <= 0 || model.mn <= 0) return 0;
  return int64_t{model.mz} * model.me * model.mn;
}

}  // namespace

void fillModel(CellModel& model, double background) {
  std::fill_n(model.values, cellTotal(model), background);
}

void paintBlock(CellModel& model, const Mesh& mesh, BlockRecord& block) {
  orderBlockBounds(block);
  const CellRange north = cellsBetween(nearestNode(mesh.northing, block.n1),
                                       nearestNode(mesh.northing, block.n2), model.mn);
  const CellRange east = cellsBetween(nearestNode(mesh.easting, block.e1),
                                      nearestNode(mesh.easting, block.e2), model.me);
  const CellRange down = cellsBetween(nearestNode(mesh.elevation, block.z1),
                                      nearestNode(mesh.elevation, block.z2), model.mz);
  if (north.first > north.last || east.first > east.last || down.first > down.last) return;

  const int64_t column = model.mz;
  const int64_t plane = column * model.me;
  int64_t run = down.last - down.first + 1;
  int64_t columnsPerRun = 1;
  // Whole columns lie end to end, so the block's columns in one plane form a single run.
  if (run == column) {
    columnsPerRun = east.last - east.first + 1;
    run *= columnsPerRun;
  }
  for (int64_t k = north.first; k <= north.last; ++k) {
    for (int64_t j = east.first; j <= east.last; j += columnsPerRun) {
      double* start = model.values + (down.first - 1) + column * (j - 1) + plane * (k - 1);
      std::fill_n(start, run, block.value);
    }
  }
}
