#include "model/active_blocks.h"

#include <algorithm>

void startActiveBlocks(ActiveBlocks& slabs, const BlockCells* blocks, size_t count, int32_t mn) {
  // A counting sort by first northing cell keeps file order among blocks that start in
  // the same slab.
  std::vector<uint32_t> starts(static_cast<size_t>(std::max(mn, 0)) + 2, 0);
  size_t painting = 0;
  for (size_t b = 0; b < count; ++b) {
    if (paintsNothing(blocks[b])) continue;
    ++starts[static_cast<size_t>(blocks[b].northing.first) + 1];
    ++painting;
  }
  for (size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
  slabs.byFirstNorthing.assign(painting, 0);
  for (size_t b = 0; b < count; ++b) {
    if (paintsNothing(blocks[b])) continue;
    slabs.byFirstNorthing[starts[static_cast<size_t>(blocks[b].northing.first)]++] =
        static_cast<uint32_t>(b);
  }
  slabs.added = 0;
  slabs.active.clear();
  slabs.merged.clear();
}

void advanceActiveBlocks(ActiveBlocks& slabs, const BlockCells* blocks, int32_t northing) {
  // Blocks that end before this slab leave.
  std::erase_if(slabs.active, [&](uint32_t b) { return blocks[b].northing.last < northing; });
  // Blocks that start at or before it join, in file order among themselves.
  const size_t begin = slabs.added;
  while (slabs.added < slabs.byFirstNorthing.size() &&
         blocks[slabs.byFirstNorthing[slabs.added]].northing.first <= northing) {
    ++slabs.added;
  }
  if (slabs.added == begin) return;
  auto joining = slabs.byFirstNorthing.begin();
  const auto from = joining + static_cast<std::ptrdiff_t>(begin);
  const auto to = joining + static_cast<std::ptrdiff_t>(slabs.added);
  // Blocks of several starting slabs join at once only when slabs were skipped; their
  // order by position must then be restored before the merge.
  if (!std::is_sorted(from, to)) std::sort(from, to);
  slabs.merged.resize(slabs.active.size() + static_cast<size_t>(to - from));
  std::merge(slabs.active.begin(), slabs.active.end(), from, to, slabs.merged.begin());
  // Joining blocks that already end before this slab (when slabs were skipped) leave.
  std::erase_if(slabs.merged, [&](uint32_t b) { return blocks[b].northing.last < northing; });
  slabs.active.swap(slabs.merged);
}
