// Painting one piece of the model with the blocks that cover it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/active_blocks.h"
#include "model/block_list.h"
#include "model/model_piece.h"

/// Fills `labels`, one per cell of `piece` in record order, with the position + 1 of the
/// last of the `active` blocks (in file order) that covers the cell, or 0 where none does.
void paintPiece(const BlockList& blocks, const ActiveBlock* active, size_t activeCount,
                const ModelPiece& piece, uint32_t* labels);
