// The active blocks that meet each piece of a northing slab.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/paint/active_blocks.h"
#include "model/paint/model_piece.h"

/// Which of a slab's active blocks meet its current piece, found by sweeping the slab's
/// pieces in order, so that a piece costs what its own blocks cost, however many pieces
/// the other active blocks meet.
struct PieceBlocks {
  std::vector<uint32_t> byFirstPiece;  // places in the active list, by first piece met
  std::vector<uint32_t> pieceStart;    // byFirstPiece[pieceStart[p], pieceStart[p + 1]) start at p
  std::vector<uint32_t> lastPiece;     // by place in the active list: the last piece it meets
  std::vector<uint32_t> chosen;        // places of the blocks that meet the current piece, rising
  bool singlePiece = false;            // the slab is one piece: every active block meets it
};

/// Takes the memory a slab's sweep needs, for `mostActive` blocks at once, and cuts of
/// `cursor`.
void reservePieceBlocks(PieceBlocks& pieces, size_t mostActive, const PieceCursor& cursor);

/// Starts the sweep of a slab whose active blocks are `active`, cut as `cursor` cuts.
void startSlabPieces(PieceBlocks& pieces, const std::vector<ActiveBlock>& active,
                     const PieceCursor& cursor);

/// Makes `chosen` the blocks that meet the slab's piece `piece` (pieces from 0, called with
/// each in turn).
void choosePieceBlocks(PieceBlocks& pieces, uint32_t piece);
