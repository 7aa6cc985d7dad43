// Painting the model a piece at a time, in record order, with the blocks that cover it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/blocks/block_list.h"
#include "model/paint/active_blocks.h"
#include "model/paint/model_piece.h"
#include "model/paint/piece_blocks.h"

/// Where the painting of a model stands: the pieces, the blocks of the current slab and
/// piece, and the labels of the piece last painted.
struct ModelPainter {
  PieceCursor cursor;
  ActiveBlocks slabs;
  PieceBlocks pieces;
  std::vector<uint32_t> labels;
};

/// Starts painting a model of me x mn x mz cells in pieces of at most `pieceCells` cells
/// with the blocks of `blocks`, which it takes over (the list is left empty), and takes all
/// the memory the painting needs.
void startPainting(ModelPainter& painter, BlockList& blocks, int32_t me, int32_t mn, int32_t mz,
                   int64_t pieceCells = kPieceCells);

/// Paints the next piece in record order into `piece` and `labels`: one label per cell
/// of the piece, 0 for the background, else naming a block (see labelledBlock). `labels`
/// is null when no block meets the piece. False when the model is done.
bool paintNextPiece(ModelPainter& painter, ModelPiece& piece, const uint32_t*& labels);

/// The block that a label (not 0) of the piece last painted names.
inline const ActiveBlock& labelledBlock(const ModelPainter& painter, uint32_t label) {
  return painter.slabs.active[label - 1];
}

/// Copies one record of `Length` bytes per label of the piece last painted to `room`,
/// end to end: `background` for 0, else the record of the block the label names.
template <size_t Length>
void copyLabelRecords(const ModelPainter& painter, const uint32_t* labels, size_t count,
                      const char* background, char* room) {
  // Labels change every few cells, at places no branch predictor foresees: the record is
  // chosen by arithmetic for every cell instead.
  const ActiveBlock* blocks = painter.slabs.active.data();
  for (size_t i = 0; i < count; ++i) {
    const uint32_t label = labels[i];
    const char* record = label == 0 ? background : blocks[label - 1].record;
    std::memcpy(room + i * Length, record, Length);
  }
}

/// Calls `finish` with every block record the painting hands out, each once, so that they
/// can be completed (their terminator) before the first piece is painted.
template <typename Finish>
void finishBlockRecords(ModelPainter& painter, Finish finish) {
  for (ActiveBlock& block : queuedBlocks(painter.slabs)) finish(block.record);
}
