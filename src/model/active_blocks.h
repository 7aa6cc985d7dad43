// The blocks that cover one northing slab of the model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/block_list.h"

/// A block that covers the current slab: its position in the block list, and its last
/// northing cell, kept here so that finding the blocks that leave reads no block.
struct ActiveBlock {
  uint32_t position = 0;
  int32_t lastNorthing = 0;
};

/// The blocks that cover the current northing slab, in file order; brought up to date
/// slab by slab as the northing index rises.
struct ActiveBlocks {
  std::vector<uint32_t> byFirstNorthing;  // positions ordered by first northing cell, stably
  size_t added = 0;                       // how many of them have become active
  std::vector<ActiveBlock> active;        // blocks covering the slab, by ascending position
};

/// Prepares the slabs of the blocks of `blocks` for a model of `mn` northing cells.
/// Blocks that paint nothing never become active.
void startActiveBlocks(ActiveBlocks& slabs, const BlockList& blocks, int32_t mn);

/// Makes `active` the blocks that cover northing cell `northing`; called with rising
/// northing indices.
void advanceActiveBlocks(ActiveBlocks& slabs, const BlockList& blocks, int32_t northing);
