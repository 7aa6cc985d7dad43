#include "model/block_list.h"

#include <new>

#include "runtime/diagnostics/report_diagnostic.h"

PaintedBlock& appendBlock(BlockList& list) {
  const uint32_t slot = list.count & ((1u << kBlockChunkBits) - 1);
  if (slot == 0) {
    PaintedBlock* chunk = new (std::nothrow) PaintedBlock[size_t{1} << kBlockChunkBits];
    if (chunk == nullptr) reportSevere(Message::OutOfMemory);
    list.chunks.emplace_back(chunk);
  }
  ++list.count;
  return list.chunks.back()[slot];
}

void releaseBlockList(BlockList& list) {
  list.chunks.clear();
  list.count = 0;
}
