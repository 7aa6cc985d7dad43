// Painting one piece of the model with the blocks that cover it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/block_cells.h"
#include "model/model_piece.h"

/// Fills `labels`, one per cell of `piece` in record order, with the number (position in
/// `blocks` + 1) of the last block in file order that covers the cell, or 0 where none
/// does. `active` lists, in ascending order, the positions of the blocks that may cover
/// the piece (those of its northing slab).
void paintPiece(const BlockCells* blocks, const uint32_t* active, size_t activeCount,
                const ModelPiece& piece, uint32_t* labels);
