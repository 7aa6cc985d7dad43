#include "check/count_visible_cells.h"

#include <algorithm>
#include <vector>

#include "model/active_blocks.h"
#include "model/model_piece.h"
#include "model/paint_piece.h"

void countVisibleCells(const Mesh& mesh, BlockFileReport& report) {
  const int32_t me = std::max(mesh.easting.cellCount, 0);
  const int32_t mn = std::max(mesh.northing.cellCount, 0);
  const int32_t mz = std::max(mesh.elevation.cellCount, 0);
  report.visible.assign(report.cells.size(), 0);
  report.backgroundCells = 0;

  BlockList blocks;
  for (const BlockCells& cells : report.cells) appendBlock(blocks).cells = cells;
  ActiveBlocks slabs;
  startActiveBlocks(slabs, blocks, mn);
  PieceCursor cursor = startPieces(me, mn, mz, kPieceCells);
  std::vector<uint32_t> labels;
  ModelPiece piece;
  int32_t slab = 0;
  while (nextPiece(cursor, piece)) {
    if (piece.northing != slab) {
      slab = piece.northing;
      advanceActiveBlocks(slabs, blocks, slab);
    }
    labels.resize(static_cast<size_t>(cellsIn(piece)));
    paintPiece(blocks, slabs.active.data(), slabs.active.size(), piece, labels.data());
    for (const uint32_t label : labels) {
      if (label == 0) {
        ++report.backgroundCells;
      } else {
        ++report.visible[label - 1];
      }
    }
  }
}
