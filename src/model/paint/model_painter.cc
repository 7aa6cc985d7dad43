#include "model/paint/model_painter.h"

#include <algorithm>

#include "model/paint/paint_piece.h"

Failure startPainting(ModelPainter& painter, BlockList& blocks, int32_t me, int32_t mn, int32_t mz,
                      int64_t pieceCells, const char* background) {
  painter.cursor = startPieces(me, mn, mz, pieceCells);
  if (!startActiveBlocks(painter.slabs, blocks, mn, background != nullptr)) {
    return failureOf(Message::OutOfMemory);
  }
  reservePieceBlocks(painter.pieces, painter.slabs.active.capacity(), painter.cursor);
  painter.texts.reserve(painter.slabs.active.capacity() + 1);
  painter.texts.assign(1, background);
  // Room for the largest piece: a small model takes no more than its slab needs.
  painter.labels.assign(static_cast<size_t>(largestPiece(painter.cursor)), 0);
  return {};
}

bool paintNextPiece(ModelPainter& painter, ModelPiece& piece, const uint32_t*& labels) {
  if (!nextPiece(painter.cursor, piece)) return false;
  // Every slab has a piece, so the slabs come one after another.
  if (piece.northing != painter.slabs.northing) {
    advanceActiveBlocks(painter.slabs);
    startSlabPieces(painter.pieces, painter.slabs.active, painter.cursor);
    const std::vector<ActiveBlock>& active = painter.slabs.active;
    painter.texts.resize(active.size() + 1);
    for (size_t a = 0; a < active.size(); ++a) painter.texts[a + 1] = active[a].text;
  }
  choosePieceBlocks(painter.pieces, static_cast<uint32_t>(pieceOfCell(
                                        painter.cursor, piece.eastFirst, piece.downFirst)));
  const std::vector<uint32_t>& chosen = painter.pieces.chosen;
  if (chosen.empty()) {
    labels = nullptr;
    return true;
  }
  paintPiece(painter.slabs.active.data(), chosen.data(), chosen.size(), piece,
             painter.labels.data());
  labels = painter.labels.data();
  return true;
}
