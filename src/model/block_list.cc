#include "model/block_list.h"

#include <algorithm>
#include <memory>
#include <new>

#include "runtime/diagnostics/report_diagnostic.h"

PaintedBlock& appendBlock(BlockList& list) {
  if (list.chunks.empty() || list.chunks.back().count == list.chunks.back().capacity) {
    const uint32_t capacity = list.chunks.empty()
                                  ? kFirstChunkBlocks
                                  : std::min(list.chunks.back().capacity * 2, kMaxChunkBlocks);
    // Owned from the start, so that nothing is lost should the list itself fail to grow.
    std::unique_ptr<PaintedBlock[]> blocks(new (std::nothrow) PaintedBlock[capacity]);
    if (blocks == nullptr) reportSevere(Message::OutOfMemory);
    list.chunks.push_back({std::move(blocks), 0, capacity});
  }
  BlockChunk& chunk = list.chunks.back();
  ++list.count;
  return chunk.blocks[chunk.count++];
}

void releaseBlockList(BlockList& list) {
  list.chunks.clear();
  list.count = 0;
}
