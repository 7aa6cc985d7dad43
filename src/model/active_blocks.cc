#include "model/active_blocks.h"

#include <algorithm>

void startActiveBlocks(ActiveBlocks& slabs, const BlockList& blocks, int32_t mn) {
  slabs.byFirstNorthing.clear();
  slabs.added = 0;
  slabs.active.clear();
  // Without blocks there is nothing to sort: a mesh of many northing cells and none
  // along another axis needs no table as long as its northing axis.
  if (blocks.count == 0) return;
  // A counting sort by first northing cell keeps file order among blocks that start in
  // the same slab.
  std::vector<uint32_t> starts(static_cast<size_t>(std::max(mn, 0)) + 2, 0);
  size_t painting = 0;
  for (uint32_t b = 0; b < blocks.count; ++b) {
    const BlockCells& cells = blockAt(blocks, b).cells;
    if (paintsNothing(cells)) continue;
    ++starts[static_cast<size_t>(cells.northing.first) + 1];
    ++painting;
  }
  for (size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
  slabs.byFirstNorthing.assign(painting, 0);
  for (uint32_t b = 0; b < blocks.count; ++b) {
    const BlockCells& cells = blockAt(blocks, b).cells;
    if (paintsNothing(cells)) continue;
    slabs.byFirstNorthing[starts[static_cast<size_t>(cells.northing.first)]++] = b;
  }
  // Room for every block at once, so that the list never moves while it grows.
  slabs.active.reserve(painting);
}

void advanceActiveBlocks(ActiveBlocks& slabs, const BlockList& blocks, int32_t northing) {
  const auto endsBefore = [&](const ActiveBlock& block) { return block.lastNorthing < northing; };
  std::erase_if(slabs.active, endsBefore);
  // Blocks that start at or before this slab join, in file order among themselves.
  const size_t begin = slabs.added;
  while (slabs.added < slabs.byFirstNorthing.size() &&
         blockAt(blocks, slabs.byFirstNorthing[slabs.added]).cells.northing.first <= northing) {
    ++slabs.added;
  }
  if (slabs.added == begin) return;
  const auto from = slabs.byFirstNorthing.begin() + static_cast<std::ptrdiff_t>(begin);
  const auto to = slabs.byFirstNorthing.begin() + static_cast<std::ptrdiff_t>(slabs.added);
  // Blocks of several starting slabs join at once only when slabs were skipped; their
  // order by position must then be restored.
  if (!std::is_sorted(from, to)) std::sort(from, to);
  // Merged from the back into the room behind the active blocks: no second list.
  size_t kept = slabs.active.size();
  size_t joining = static_cast<size_t>(to - from);
  slabs.active.resize(kept + joining);
  for (size_t out = kept + joining; joining > 0;) {
    const uint32_t next = from[static_cast<std::ptrdiff_t>(joining) - 1];
    if (kept > 0 && slabs.active[kept - 1].position > next) {
      slabs.active[--out] = slabs.active[--kept];
    } else {
      slabs.active[--out] = {next, blockAt(blocks, next).cells.northing.last};
      --joining;
    }
  }
  // Joining blocks that already end before this slab (when slabs were skipped) leave.
  std::erase_if(slabs.active, endsBefore);
}
