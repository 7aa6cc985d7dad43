// Painting one piece of the model with the blocks that meet it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/paint/active_blocks.h"
#include "model/paint/model_piece.h"

/// Fills `labels`, one per cell of `piece` in record order, with 1 + the place in `active`
/// of the last block that covers the cell among those whose places `chosen` lists (rising,
/// so in file order), or 0 where none does.
void paintPiece(const ActiveBlock* active, const uint32_t* chosen, size_t chosenCount,
                const ModelPiece& piece, uint32_t* labels);
