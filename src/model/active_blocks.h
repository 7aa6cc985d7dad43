// The blocks that cover one northing slab of the model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/block_list.h"

/// The blocks that cover the current northing slab, by position in the block list, in
/// file order; brought up to date slab by slab as the northing index rises.
struct ActiveBlocks {
  std::vector<uint32_t> byFirstNorthing;  // positions ordered by first northing cell, stably
  size_t added = 0;                       // how many of them have become active
  std::vector<uint32_t> active;           // positions covering the slab, ascending
};

/// Prepares the slabs of the blocks of `blocks` for a model of `mn` northing cells.
/// Blocks that paint nothing never become active.
void startActiveBlocks(ActiveBlocks& slabs, const BlockList& blocks, int32_t mn);

/// Makes `active` the blocks that cover northing cell `northing`; called with rising
/// northing indices.
void advanceActiveBlocks(ActiveBlocks& slabs, const BlockList& blocks, int32_t northing);
