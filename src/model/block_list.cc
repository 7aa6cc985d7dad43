#include "model/block_list.h"

#include <memory>
#include <new>

#include "runtime/diagnostics/report_diagnostic.h"

PaintedBlock& appendBlock(BlockList& list) {
  const uint32_t slot = list.count & ((1u << kBlockChunkBits) - 1);
  if (slot == 0) {
    // Owned from the start, so that nothing is lost should the list itself fail to grow.
    std::unique_ptr<PaintedBlock[]> chunk(new (std::nothrow)
                                              PaintedBlock[size_t{1} << kBlockChunkBits]);
    if (chunk == nullptr) reportSevere(Message::OutOfMemory);
    list.chunks.push_back(std::move(chunk));
  }
  ++list.count;
  return list.chunks.back()[slot];
}

void releaseBlockList(BlockList& list) {
  list.chunks.clear();
  list.count = 0;
}
