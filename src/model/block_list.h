// The blocks of a model, kept compactly in file order.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/block_cells.h"

/// One block as the model needs it: the cells it paints and its record, the 10-character
/// text of its value followed by room for the record terminator.
struct PaintedBlock {
  BlockCells cells;
  char record[12] = {};
};

/// Blocks held per chunk; a list grows by whole chunks and never moves what it holds.
constexpr uint32_t kBlockChunkBits = 14;

/// Blocks in file order, in chunks of 2^kBlockChunkBits.
struct BlockList {
  std::vector<std::unique_ptr<PaintedBlock[]>> chunks;
  uint32_t count = 0;
};

/// The block at `position` (from 0).
inline PaintedBlock& blockAt(const BlockList& list, uint32_t position) {
  return list.chunks[position >> kBlockChunkBits][position & ((1u << kBlockChunkBits) - 1)];
}

/// Appends a block and returns it. Ends the run with message 41 when memory is refused.
PaintedBlock& appendBlock(BlockList& list);

/// Frees the list's memory; it is empty afterwards.
void releaseBlockList(BlockList& list);
