// Painting the model a piece at a time, in record order, with the blocks that cover it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/blocks/block_list.h"
#include "model/paint/active_blocks.h"
#include "model/paint/model_piece.h"
#include "model/paint/piece_blocks.h"
#include "runtime/diagnostics/failure.h"

/// Where the painting of a model stands: the pieces, the blocks of the current slab and
/// piece, and the labels of the piece last painted.
struct ModelPainter {
  PieceCursor cursor;
  ActiveBlocks slabs;
  PieceBlocks pieces;
  std::vector<uint32_t> labels;
  std::vector<const char*> texts;  // by label: the background's text, then the active blocks'
};

/// Starts painting a model of me x mn x mz cells in pieces of at most `pieceCells` cells
/// with the blocks of `blocks`, which it takes over (the list is left empty), and takes all
/// the memory the painting needs. With a `background` text, the text label 0 stands for,
/// each label stands for a text (see labelTexts); without, labels alone are painted.
/// Message 41 when the memory is refused.
Failure startPainting(ModelPainter& painter, BlockList& blocks, int32_t me, int32_t mn, int32_t mz,
                      int64_t pieceCells = kPieceCells, const char* background = nullptr);

/// Paints the next piece in record order into `piece` and `labels`: one label per cell
/// of the piece, 0 for the background, else naming a block (see labelledBlock). `labels`
/// is null when no block meets the piece. False when the model is done.
bool paintNextPiece(ModelPainter& painter, ModelPiece& piece, const uint32_t*& labels);

/// The block that a label (not 0) of the piece last painted names.
inline const ActiveBlock& labelledBlock(const ModelPainter& painter, uint32_t label) {
  return painter.slabs.active[label - 1];
}

/// The text each label of the piece last painted stands for, by label: the background's
/// for 0, else that of the block the label names.
inline const char* const* labelTexts(const ModelPainter& painter) {
  return painter.texts.data();
}
