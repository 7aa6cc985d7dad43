#include "model/model_painter.h"

#include <algorithm>

#include "model/paint_piece.h"

void startPainting(ModelPainter& painter, BlockList& blocks, int32_t me, int32_t mn, int32_t mz,
                   int64_t pieceCells) {
  painter.cursor = startPieces(me, mn, mz, pieceCells);
  painter.blocks = &blocks;
  painter.northing = 0;
  startActiveBlocks(painter.slabs, blocks, mn);
  const int64_t cells = int64_t{std::max(me, 0)} * std::max(mn, 0) * std::max(mz, 0);
  painter.labels.assign(static_cast<size_t>(std::min(cells, painter.cursor.maxCells)), 0);
}

bool paintNextPiece(ModelPainter& painter, ModelPiece& piece, const uint32_t*& labels) {
  if (!nextPiece(painter.cursor, piece)) return false;
  if (piece.northing != painter.northing) {
    painter.northing = piece.northing;
    advanceActiveBlocks(painter.slabs, *painter.blocks, piece.northing);
  }
  if (painter.slabs.active.empty()) {
    labels = nullptr;
    return true;
  }
  paintPiece(*painter.blocks, painter.slabs.active.data(), painter.slabs.active.size(), piece,
             painter.labels.data());
  labels = painter.labels.data();
  return true;
}
