#include "model/blocks/block_cells.h"

#include <algorithm>

#include "mesh/nearest_node.h"
#include "model/blocks/order_block_bounds.h"

namespace {

CellRange snappedCells(const NodeAxis& axis, double lower, double upper) {
  return cellsBetween(nearestNode(axis, lower), nearestNode(axis, upper),
                      std::max(axis.cellCount, 0));
}

}  // namespace

BlockCells blockCells(const Mesh& mesh, BlockRecord& block) {
  orderBlockBounds(block);
  BlockCells cells;
  cells.northing = snappedCells(mesh.northing, block.n1, block.n2);
  cells.easting = snappedCells(mesh.easting, block.e1, block.e2);
  // Elevation nodes fall from the top: the upper bound snaps to the lower node index.
  cells.elevation = snappedCells(mesh.elevation, block.z1, block.z2);
  return cells;
}
