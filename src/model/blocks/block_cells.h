// Which cells a block paints.
#pragma once

#include <cstdint>

#include "mesh/mesh.h"
#include "model/blocks/block_record.h"
#include "model/blocks/cell_range.h"

/// The cells a block paints along each axis; elevation counts from the top.
struct BlockCells {
  CellRange easting, northing, elevation;
};

/// True when the block paints no cell.
inline bool paintsNothing(const BlockCells& cells) {
  return isEmpty(cells.easting) || isEmpty(cells.northing) || isEmpty(cells.elevation);
}

/// The number of cells the block paints.
inline int64_t cellsPainted(const BlockCells& cells) {
  return cellsIn(cells.easting) * cellsIn(cells.northing) * cellsIn(cells.elevation);
}

/// Orders the bounds of `block` in place (see orderBlockBounds), snaps each to the nearest
/// node of its axis and returns the cells between the snapped nodes, within the mesh's
/// cells (max(n, 0) along each axis).
BlockCells blockCells(const Mesh& mesh, BlockRecord& block);
