// The blocks that cover one northing slab of the model.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/blocks/block_list.h"
#include "output/format_model_value.h"
#include "runtime/platform/system_calls.h"

/// Where a block that paints lies, as the painting of a slab needs it, so that it never
/// reads the block list. Plain members with no initial values: a queue of millions is not
/// written before it is filled.
struct BlockExtent {
  uint32_t position;            // in the block list, from 0: its place in file order
  int32_t lastNorthing;         // the last northing cell it paints
  int32_t eastFirst, eastLast;  // the easting cells it paints
  int32_t downFirst, downLast;  // the elevation cells it paints, from the top
};

/// A block waiting in the queue for its first slab, with the text of its value, put here
/// once (see startActiveBlocks) and written from here into every record it paints.
struct QueuedBlock : BlockExtent {
  char text[kModelValueWidth];
};

/// A block that covers the current slab.
struct ActiveBlock : BlockExtent {
  const char* text;  // the text in its queue entry
};

/// The largest queue laid on large pages (see startActiveBlocks): with its block list
/// beside it, well within the memory a run may take for its blocks.
constexpr size_t kLargePageQueueBytes = size_t{32} << 20;

/// Fewest blocks sorted into the queue on two threads: fewer take less time than starting
/// a thread does.
constexpr uint32_t kSharedSortBlocks = 65536;

/// The blocks that cover the current northing slab, in file order; brought up to date
/// slab by slab as the northing index rises from 1.
struct ActiveBlocks {
  // Every block that paints, by first northing cell.
  std::unique_ptr<QueuedBlock[], SystemRelease> queue;
  std::vector<uint32_t> slabStart;  // queue[slabStart[k - 1], slabStart[k]) start at slab k
  int32_t northing = 0;             // the slab of `active`; 0 before the first
  std::vector<ActiveBlock> active;  // blocks covering the slab, by ascending position
  std::vector<ActiveBlock> next;    // room for the next slab's, as large as `active`'s
};

/// Queues the blocks of `blocks` that paint a cell, for a model of `mn` northing cells,
/// and takes every bit of memory the slabs will need. The list is emptied on the way, its
/// memory handed back as the queue fills, so that the blocks are never held twice. With
/// `texts`, each queued block gets the text of its value, as formatModelValue renders it.
/// False, with the list as it was, when the memory for the queue is refused.
bool startActiveBlocks(ActiveBlocks& slabs, BlockList& blocks, int32_t mn, bool texts);

/// Makes `active` the blocks that cover the next northing slab (slab 1 on the first call).
void advanceActiveBlocks(ActiveBlocks& slabs);
