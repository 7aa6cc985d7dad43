#include "model/model_painter.h"

#include <algorithm>

#include "model/paint_piece.h"

void startPainting(ModelPainter& painter, BlockList& blocks, int32_t me, int32_t mn, int32_t mz,
                   int64_t pieceCells, size_t paintAheadBlocks) {
  painter.cursor = startPieces(me, mn, mz, pieceCells);
  startActiveBlocks(painter.slabs, blocks, mn);
  reservePieceBlocks(painter.pieces, painter.slabs.active.capacity(), painter.cursor);
  // Room for the largest piece: a small model takes no more than its slab needs.
  const size_t largest = static_cast<size_t>(largestPiece(painter.cursor));
  painter.labels.assign(largest, 0);
  painter.paintingAhead = queuedBlocks(painter.slabs).size() >= paintAheadBlocks;
  painter.otherLabels.assign(painter.paintingAhead ? largest : 0, 0);
}

bool paintNextPiece(ModelPainter& painter, ModelPiece& piece, const uint32_t*& labels) {
  if (!nextPiece(painter.cursor, piece)) return false;
  // The labels of the piece before stay where they are, for the writing of it.
  if (painter.paintingAhead) std::swap(painter.labels, painter.otherLabels);
  // Every slab has a piece, so the slabs come one after another.
  if (piece.northing != painter.slabs.northing) {
    advanceActiveBlocks(painter.slabs);
    startSlabPieces(painter.pieces, painter.slabs.active, painter.cursor);
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

namespace {

void paintAhead(void* argument) {
  PaintingAhead& ahead = *static_cast<PaintingAhead*>(argument);
  ahead.painted = paintNextPiece(*ahead.painter, ahead.piece, ahead.labels);
}

}  // namespace

PaintingAhead::~PaintingAhead() {
  finishPaintingAhead(*this);
}

void startPaintingAhead(PaintingAhead& ahead) {
  ahead.pending = true;
  ahead.thread = systemCalls().startThread(paintAhead, &ahead);
  if (ahead.thread == 0) paintAhead(&ahead);
}

void finishPaintingAhead(PaintingAhead& ahead) {
  if (!ahead.pending) return;
  if (ahead.thread != 0) systemCalls().joinThread(ahead.thread);
  ahead.thread = 0;
  ahead.pending = false;
}
