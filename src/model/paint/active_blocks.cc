#include "model/paint/active_blocks.h"

#include <algorithm>

#include "model/paint/value_texts.h"
#include "runtime/threads/helper_thread.h"

namespace {

// A share of the block list's chunks, counted and queued on a thread of its own: per slab,
// the painting blocks of the share that start and end there, then where its next block of
// each slab goes in the queue.
struct ChunkShare {
  BlockList* blocks = nullptr;
  size_t firstChunk = 0, endChunk = 0;  // chunks [firstChunk, endChunk)
  uint32_t firstPosition = 0;           // the file-order place of its first block
  std::vector<uint32_t> starts, ends;   // by slab (from 1)
  size_t painting = 0;
  QueuedBlock* queue = nullptr;
  std::vector<uint32_t> next;  // by slab - 1: where its next block starting there goes
  bool texts = false;          // each queued block gets the text of its value
  ValueTexts recent;           // where the texts of values met lately were put
};

void countShare(void* argument) {
  ChunkShare& share = *static_cast<ChunkShare*>(argument);
  for (size_t k = share.firstChunk; k < share.endChunk; ++k) {
    const BlockChunk& chunk = share.blocks->chunks[k];
    for (uint32_t c = 0; c < chunk.count; ++c) {
      const BlockCells& cells = chunk.blocks[c].cells;
      if (paintsNothing(cells)) continue;
      ++share.starts[static_cast<size_t>(cells.northing.first)];
      ++share.ends[static_cast<size_t>(cells.northing.last)];
      ++share.painting;
    }
  }
}

// Each chunk is freed once read, so that the queue fills as the list empties.
void queueShare(void* argument) {
  ChunkShare& share = *static_cast<ChunkShare*>(argument);
  uint32_t position = share.firstPosition;
  for (size_t k = share.firstChunk; k < share.endChunk; ++k) {
    BlockChunk& chunk = share.blocks->chunks[k];
    for (uint32_t c = 0; c < chunk.count; ++c, ++position) {
      const PaintedBlock& block = chunk.blocks[c];
      if (paintsNothing(block.cells)) continue;
      QueuedBlock& queued =
          share.queue[share.next[static_cast<size_t>(block.cells.northing.first) - 1]++];
      queued.position = position;
      queued.lastNorthing = block.cells.northing.last;
      queued.eastFirst = block.cells.easting.first;
      queued.eastLast = block.cells.easting.last;
      queued.downFirst = block.cells.elevation.first;
      queued.downLast = block.cells.elevation.last;
      // The text is put where the painting reads it from for every cell of the block: it
      // is not copied again until it goes into the records.
      if (share.texts) putValueText(share.recent, block.value, queued.text);
    }
    chunk.blocks.reset();
  }
}

// Runs `body` on each share: the later one, if any, on the helper where it has a thread,
// the first on this thread.
void runShares(HelperThread& helper, void (*body)(void*), ChunkShare* shares, size_t count) {
  if (count > 1 && !handOverJob(helper, body, &shares[1])) body(&shares[1]);
  body(&shares[0]);
  waitForJob(helper);
}

}  // namespace

bool startActiveBlocks(ActiveBlocks& slabs, BlockList& blocks, int32_t mn, bool texts) {
  slabs.northing = 0;
  slabs.active.clear();
  slabs.queue.reset();
  slabs.slabStart.clear();
  // Without blocks there is nothing to sort: a mesh of many northing cells and none
  // along another axis needs no table as long as its northing axis.
  if (blocks.count == 0) return true;
  // A counting sort by first northing cell keeps file order among blocks that start in
  // the same slab. Counting the blocks that end in each slab too gives the most that are
  // ever active at once, so that the active list never grows while the model is written.
  // Many blocks are sorted in two shares of the chunks, side by side: the later share's
  // blocks go behind the earlier one's in each slab, as in file order.
  const size_t slabs1 = static_cast<size_t>(std::max(mn, 0)) + 1;
  ChunkShare shares[2];
  size_t shareCount = 1;
  shares[0].endChunk = blocks.chunks.size();
  // A share's tables take 12 bytes a slab: only where they are few beside the blocks.
  if (blocks.count >= kSharedSortBlocks && blocks.chunks.size() > 1 &&
      slabs1 <= blocks.count / 16) {
    uint32_t before = 0;
    size_t split = 0;
    while (split + 1 < blocks.chunks.size() &&
           before + blocks.chunks[split].count <= blocks.count / 2) {
      before += blocks.chunks[split++].count;
    }
    if (split == 0) before += blocks.chunks[split++].count;
    shares[0].endChunk = split;
    shares[1].firstChunk = split;
    shares[1].endChunk = blocks.chunks.size();
    shares[1].firstPosition = before;
    shareCount = 2;
  }
  for (size_t s = 0; s < shareCount; ++s) {
    shares[s].blocks = &blocks;
    shares[s].texts = texts;
    shares[s].starts.assign(slabs1 + 1, 0);
    shares[s].ends.assign(slabs1 + 1, 0);
  }
  HelperThread helper;
  runShares(helper, countShare, shares, shareCount);
  size_t painting = 0;
  for (size_t s = 0; s < shareCount; ++s) painting += shares[s].painting;
  size_t activeNow = 0;
  size_t mostActive = 0;
  slabs.slabStart.assign(slabs1, 0);
  for (size_t s = 0; s < shareCount; ++s) shares[s].next.assign(slabs1 - 1, 0);
  for (size_t k = 1; k < slabs1; ++k) {
    uint32_t starting = 0;
    for (size_t s = 0; s < shareCount; ++s) {
      shares[s].next[k - 1] = slabs.slabStart[k - 1] + starting;
      starting += shares[s].starts[k];
      activeNow += shares[s].starts[k];
    }
    mostActive = std::max(mostActive, activeNow);
    for (size_t s = 0; s < shareCount; ++s) activeNow -= shares[s].ends[k];
    slabs.slabStart[k] = slabs.slabStart[k - 1] + starting;
  }
  // The queue is written as the list is read, a chunk at a time, and each chunk is freed
  // when read: both grow and shrink together, so the blocks take their room about once.
  // That holds for small pages, each touched when the first entry lands in it. The entries
  // land in as many streams as there are slabs, and a large page holds many streams: on
  // large pages the whole queue is had at once, beside the whole list. A queue of up to
  // kLargePageQueueBytes is laid on them all the same, which saves thousands of page
  // faults; a larger one takes fresh small pages, so that its memory stays in bounds.
  const size_t queueBytes = painting * sizeof(QueuedBlock);
  slabs.queue.reset(static_cast<QueuedBlock*>(queueBytes <= kLargePageQueueBytes
                                                  ? systemCalls().allocate(queueBytes)
                                                  : systemCalls().allocateZeroed(queueBytes)));
  if (slabs.queue == nullptr) return false;
  for (size_t s = 0; s < shareCount; ++s) shares[s].queue = slabs.queue.get();
  runShares(helper, queueShare, shares, shareCount);
  releaseBlockList(blocks);
  slabs.active.reserve(mostActive);
  slabs.next.reserve(mostActive);
  return true;
}

void advanceActiveBlocks(ActiveBlocks& slabs) {
  const int32_t northing = ++slabs.northing;
  const QueuedBlock* joining = nullptr;
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
  const QueuedBlock* const joiningEnd = joining + joiningCount;
  const auto join = [&next](const QueuedBlock& queued) {
    next.push_back(ActiveBlock{queued, queued.text});
  };
  for (const ActiveBlock& block : slabs.active) {
    if (block.lastNorthing < northing) continue;
    while (joining != joiningEnd && joining->position < block.position) join(*joining++);
    next.push_back(block);
  }
  while (joining != joiningEnd) join(*joining++);
  std::swap(slabs.active, slabs.next);
}
