// Painting one piece of the model with the blocks that meet it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/active_blocks.h"
#include "model/block_list.h"
#include "model/model_piece.h"

/// Fills `labels`, one per cell of `piece` in record order, with 1 + the place in `active`
/// of the last block that covers the cell among those whose places `chosen` lists (rising,
/// so in file order), or 0 where none does.
void paintPiece(const ActiveBlock* active, const uint32_t* chosen, size_t chosenCount,
                const ModelPiece& piece, uint32_t* labels);

/// The earlier form, which boxpaint-check paints with: every block of `active` is tried
/// on the piece, and a label is the block's position in the list + 1.
void paintPiece(const BlockList& blocks, const ActiveBlock* active, size_t activeCount,
                const ModelPiece& piece, uint32_t* labels);
