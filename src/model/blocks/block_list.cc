#include "model/blocks/block_list.h"

#include <algorithm>
#include <memory>

namespace {

// The last chunk of the list, with room for one block at least; nullptr when memory is
// refused.
BlockChunk* chunkWithRoom(BlockList& list) {
  if (list.chunks.empty() || list.chunks.back().count == list.chunks.back().capacity) {
    const uint32_t capacity = list.chunks.empty()
                                  ? list.firstCapacity
                                  : std::min(list.chunks.back().capacity * 2, kMaxChunkBlocks);
    // Owned from the start, so that nothing is lost should the list itself fail to grow.
    // Not initialised: a block is written whole when appended.
    std::unique_ptr<PaintedBlock[], SystemRelease> blocks(static_cast<PaintedBlock*>(
        systemCalls().allocate(size_t{capacity} * sizeof(PaintedBlock))));
    if (blocks == nullptr) return nullptr;
    list.chunks.push_back({std::move(blocks), 0, capacity});
  }
  return &list.chunks.back();
}

}  // namespace

bool makePaintedBlock(const Mesh& mesh, BlockRecord& block, PaintedBlock& painted) {
  painted.cells = blockCells(mesh, block);
  painted.value = block.value;
  return !paintsNothing(painted.cells);
}

void expectBlocks(BlockList& list, int32_t count) {
  if (!list.chunks.empty()) return;
  list.firstCapacity =
      static_cast<uint32_t>(std::clamp<int64_t>(count, kFirstChunkBlocks, kMaxChunkBlocks));
}

PaintedBlock* appendBlock(BlockList& list) {
  BlockChunk* chunk = chunkWithRoom(list);
  if (chunk == nullptr) return nullptr;
  ++list.count;
  return &chunk->blocks[chunk->count++];
}

bool appendBlocks(BlockList& list, const PaintedBlock* blocks, size_t count) {
  while (count > 0) {
    BlockChunk* chunk = chunkWithRoom(list);
    if (chunk == nullptr) return false;
    const uint32_t taken =
        static_cast<uint32_t>(std::min<size_t>(count, chunk->capacity - chunk->count));
    std::copy_n(blocks, taken, chunk->blocks.get() + chunk->count);
    chunk->count += taken;
    list.count += taken;
    blocks += taken;
    count -= taken;
  }
  return true;
}

void releaseBlockList(BlockList& list) {
  list.chunks.clear();
  list.count = 0;
  list.firstCapacity = kFirstChunkBlocks;
}
