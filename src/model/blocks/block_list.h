// The blocks of a model, each as the model keeps it, compactly in file order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/blocks/block_cells.h"
#include "runtime/platform/system_calls.h"

/// One block as the model needs it: the cells it paints and its value. No initial
/// values: a list of millions is not written before it is filled.
struct PaintedBlock {
  BlockCells cells;
  double value;
};

/// Blocks held by the first chunk of a list; each further chunk holds twice as many as
/// the one before, up to kMaxChunkBlocks, so that a few blocks take little room.
constexpr uint32_t kFirstChunkBlocks = 64;

/// Most blocks a chunk holds: 4 MiB of them, two large pages.
constexpr uint32_t kMaxChunkBlocks = (uint32_t{4} << 20) / sizeof(PaintedBlock);

/// Consecutive blocks of a list; it never moves what it holds. Its memory comes from the
/// system's `allocate`, on large pages when it is large, and is written only as blocks
/// are appended.
struct BlockChunk {
  std::unique_ptr<PaintedBlock[], SystemRelease> blocks;
  uint32_t count = 0;     // blocks held
  uint32_t capacity = 0;  // blocks it has room for
};

/// Blocks in file order, chunk after chunk.
struct BlockList {
  std::vector<BlockChunk> chunks;
  uint32_t count = 0;                          // blocks in all chunks
  uint32_t firstCapacity = kFirstChunkBlocks;  // blocks the first chunk has room for
};

/// Gives the first chunk of an empty list room for `count` blocks, up to kMaxChunkBlocks:
/// the count a block file gives. Its memory is touched only as blocks are appended, so a
/// count larger than the blocks that follow costs nothing but addresses.
void expectBlocks(BlockList& list, int32_t count);

/// Snaps `block` (its bounds ordered in place, see blockCells) and, when it paints a cell,
/// makes `painted` of it: its cells and its value. False when it paints nothing; `painted`
/// is then no block.
bool makePaintedBlock(const Mesh& mesh, BlockRecord& block, PaintedBlock& painted);

/// Appends a block and returns it; nullptr, with nothing appended, when memory is refused.
PaintedBlock* appendBlock(BlockList& list);

/// Appends copies of the `count` blocks at `blocks`, in order; false when memory is refused,
/// with the blocks that found room appended.
bool appendBlocks(BlockList& list, const PaintedBlock* blocks, size_t count);

/// Frees the list's memory; it is empty afterwards.
void releaseBlockList(BlockList& list);
