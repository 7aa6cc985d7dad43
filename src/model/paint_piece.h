// Painting one piece of the model with the blocks that cover it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/block_list.h"
#include "model/model_piece.h"

/// Fills `labels`, one per cell of `piece` in record order, with a + 1 for the last block
/// `active[a]` (a position in `blocks`; `active` ascending, so in file order) that covers
/// the cell, or 0 where none does.
void paintPiece(const BlockList& blocks, const uint32_t* active, size_t activeCount,
                const ModelPiece& piece, uint32_t* labels);
