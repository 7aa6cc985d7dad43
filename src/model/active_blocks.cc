#include "model/active_blocks.h"

#include <algorithm>
#include <cstring>

#include "runtime/diagnostics/report_diagnostic.h"

void startActiveBlocks(ActiveBlocks& slabs, BlockList& blocks, int32_t mn) {
  slabs.northing = 0;
  slabs.active.clear();
  slabs.queue.reset();
  slabs.slabStart.clear();
  // Without blocks there is nothing to sort: a mesh of many northing cells and none
  // along another axis needs no table as long as its northing axis.
  if (blocks.count == 0) return;
  // A counting sort by first northing cell keeps file order among blocks that start in
  // the same slab. Counting the blocks that end in each slab too gives the most that are
  // ever active at once, so that the active list never grows while the model is written.
  const size_t slabs1 = static_cast<size_t>(std::max(mn, 0)) + 1;
  std::vector<uint32_t> starts(slabs1 + 1, 0);
  std::vector<uint32_t> ends(slabs1 + 1, 0);
  size_t painting = 0;
  for (const BlockChunk& chunk : blocks.chunks) {
    for (uint32_t c = 0; c < chunk.count; ++c) {
      const BlockCells& cells = chunk.blocks[c].cells;
      if (paintsNothing(cells)) continue;
      ++starts[static_cast<size_t>(cells.northing.first)];
      ++ends[static_cast<size_t>(cells.northing.last)];
      ++painting;
    }
  }
  size_t activeNow = 0;
  size_t mostActive = 0;
  slabs.slabStart.assign(slabs1, 0);
  for (size_t k = 1; k < slabs1; ++k) {
    activeNow += starts[k];
    mostActive = std::max(mostActive, activeNow);
    activeNow -= ends[k];
    slabs.slabStart[k] = slabs.slabStart[k - 1] + starts[k];
  }
  // The queue is written as the list is read, a chunk at a time, and each chunk is freed
  // when read: both grow and shrink together, so the blocks take their room about once.
  // That holds for small pages, each touched when the first entry lands in it. The entries
  // land in as many streams as there are slabs, and a large page holds many streams: on
  // large pages the whole queue is had at once, beside the whole list. A queue of up to
  // kLargePageQueueBytes is laid on them all the same, which saves thousands of page
  // faults; a larger one takes fresh small pages, so that its memory stays in bounds.
  const size_t queueBytes = painting * sizeof(ActiveBlock);
  slabs.queue.reset(static_cast<ActiveBlock*>(queueBytes <= kLargePageQueueBytes
                                                  ? systemCalls().allocate(queueBytes)
                                                  : systemCalls().allocateZeroed(queueBytes)));
  if (slabs.queue == nullptr) reportSevere(Message::OutOfMemory);
  std::vector<uint32_t> next(slabs.slabStart.begin(), slabs.slabStart.end() - 1);
  uint32_t position = 0;
  for (BlockChunk& chunk : blocks.chunks) {
    for (uint32_t c = 0; c < chunk.count; ++c, ++position) {
      const PaintedBlock& block = chunk.blocks[c];
      if (paintsNothing(block.cells)) continue;
      ActiveBlock& queued =
          slabs.queue[next[static_cast<size_t>(block.cells.northing.first) - 1]++];
      queued.position = position;
      queued.lastNorthing = block.cells.northing.last;
      queued.eastFirst = block.cells.easting.first;
      queued.eastLast = block.cells.easting.last;
      queued.downFirst = block.cells.elevation.first;
      queued.downLast = block.cells.elevation.last;
      std::memcpy(queued.record, block.record, sizeof queued.record);
    }
    chunk.blocks.reset();
  }
  releaseBlockList(blocks);
  slabs.active.reserve(mostActive);
  slabs.next.reserve(mostActive);
}

std::span<ActiveBlock> queuedBlocks(ActiveBlocks& slabs) {
  return {slabs.queue.get(), slabs.slabStart.empty() ? 0 : slabs.slabStart.back()};
}

void advanceActiveBlocks(ActiveBlocks& slabs) {
  const int32_t northing = ++slabs.northing;
  const ActiveBlock* joining = nullptr;
  size_t joiningCount = 0;
  if (static_cast<size_t>(northing) < slabs.slabStart.size()) {
    joining = slabs.queue.get() + slabs.slabStart[static_cast<size_t>(northing) - 1];
    joiningCount = slabs.slabStart[static_cast<size_t>(northing)] -
                   slabs.slabStart[static_cast<size_t>(northing) - 1];
  }
  // One pass over the list: the blocks that still cover the slab, and those that start at
  // it (in file order among themselves), merged by position into the room for the next
  // list, which then takes the place of this one.
  std::vector<ActiveBlock>& next = slabs.next;
  next.clear();
  const ActiveBlock* const joiningEnd = joining + joiningCount;
  for (const ActiveBlock& block : slabs.active) {
    if (block.lastNorthing < northing) continue;
    while (joining != joiningEnd && joining->position < block.position) next.push_back(*joining++);
    next.push_back(block);
  }
  next.insert(next.end(), joining, joiningEnd);
  std::swap(slabs.active, slabs.next);
}
