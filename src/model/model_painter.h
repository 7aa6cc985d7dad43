// Painting the model a piece at a time, in record order, with the blocks that cover it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/active_blocks.h"
#include "model/block_list.h"
#include "model/model_piece.h"
#include "model/piece_blocks.h"
#include "runtime/platform/system_calls.h"

/// Blocks from which the next piece is painted on a second thread while the last one is
/// written: with fewer, a piece paints too quickly to be worth a thread.
constexpr size_t kPaintAheadBlocks = 16384;

/// Where the painting of a model stands: the pieces, the blocks of the current slab and
/// piece, and the labels of the pieces painted last.
struct ModelPainter {
  PieceCursor cursor;
  ActiveBlocks slabs;
  PieceBlocks pieces;
  std::vector<uint32_t> labels;       // of the piece painted last
  std::vector<uint32_t> otherLabels;  // of the piece before it, when painting ahead
  bool paintingAhead = false;         // pieces are painted ahead (see PaintingAhead)
};

/// Starts painting a model of me x mn x mz cells in pieces of at most `pieceCells` cells
/// with the blocks of `blocks`, which it takes over (the list is left empty), and takes all
/// the memory the painting needs. With at least `paintAheadBlocks` blocks that paint, the
/// labels of two pieces are kept, for painting ahead.
void startPainting(ModelPainter& painter, BlockList& blocks, int32_t me, int32_t mn, int32_t mz,
                   int64_t pieceCells = kPieceCells, size_t paintAheadBlocks = SIZE_MAX);

/// Paints the next piece in record order into `piece` and `labels`: one label per cell
/// of the piece, 0 for the background, else naming a block (see labelledBlock). `labels`
/// is null when no block meets the piece. False when the model is done. The labels stay
/// as they are until the next call, or the one after it when painting ahead.
bool paintNextPiece(ModelPainter& painter, ModelPiece& piece, const uint32_t*& labels);

/// The block that a label (not 0) names.
inline const ActiveBlock& labelledBlock(const ModelPainter& painter, uint32_t label) {
  return painter.slabs.queue[label - 1];
}

/// The next piece, painted by paintNextPiece on a second thread, which reads the painter
/// and writes only what paintNextPiece writes, while this one writes the piece before.
/// Its labels and the queued blocks' records may be read meanwhile, nothing else of the
/// painter. Waits for the thread when it goes.
struct PaintingAhead {
  ModelPainter* painter = nullptr;
  ModelPiece piece;
  const uint32_t* labels = nullptr;
  bool painted = false;  // what paintNextPiece returned
  ThreadHandle thread = 0;
  bool pending = false;  // started and not yet waited for

  PaintingAhead() = default;
  PaintingAhead(const PaintingAhead&) = delete;
  PaintingAhead& operator=(const PaintingAhead&) = delete;
  ~PaintingAhead();
};

/// Starts painting the next piece of `ahead.painter` (one kept two pieces' labels) on a
/// second thread; at once, on this one, when no thread is to be had.
void startPaintingAhead(PaintingAhead& ahead);

/// Waits until the piece started is painted.
void finishPaintingAhead(PaintingAhead& ahead);

/// Copies one record of `Length` bytes per label of a piece to `room`, end to end:
/// `background` for 0, else the record of the block the label names.
template <size_t Length>
void copyLabelRecords(const ModelPainter& painter, const uint32_t* labels, size_t count,
                      const char* background, char* room) {
  // Labels change every few cells, at places no branch predictor foresees: the record is
  // chosen by arithmetic for every cell instead.
  const ActiveBlock* blocks = painter.slabs.queue.get();
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
