#include "model/paint_piece.h"

#include <algorithm>

#if defined(_MSC_VER) && !defined(__clang__)
#include <xmmintrin.h>
#endif

namespace {

// Asks the processor to fetch the cache line at `address` ahead of its use.
inline void fetchAhead(const void* address) {
#if defined(_MSC_VER) && !defined(__clang__)
  _mm_prefetch(static_cast<const char*>(address), _MM_HINT_T0);
#else
  __builtin_prefetch(address);
#endif
}

}  // namespace

void paintPiece(const BlockList& blocks, const ActiveBlock* active, size_t activeCount,
                const ModelPiece& piece, uint32_t* labels) {
  const int64_t height = int64_t{piece.downLast} - piece.downFirst + 1;
  std::fill_n(labels, cellsIn(piece), 0u);
  // In file order, so that a later block paints over an earlier one.
  constexpr size_t kAhead = 8;
  for (size_t a = 0; a < activeCount; ++a) {
    // The active blocks lie far apart in the list: their cells are fetched ahead.
    if (a + kAhead < activeCount) fetchAhead(&blockAt(blocks, active[a + kAhead].position).cells);
    const BlockCells& cells = blockAt(blocks, active[a].position).cells;
    const int32_t eastFirst = std::max(cells.easting.first, piece.eastFirst);
    const int32_t eastLast = std::min(cells.easting.last, piece.eastLast);
    const int32_t downFirst = std::max(cells.elevation.first, piece.downFirst);
    const int32_t downLast = std::min(cells.elevation.last, piece.downLast);
    if (eastFirst > eastLast || downFirst > downLast) continue;
    const uint32_t label = active[a].position + 1;
    const int64_t run = int64_t{downLast} - downFirst + 1;
    uint32_t* column = labels + (int64_t{eastFirst} - piece.eastFirst) * height +
                       (int64_t{downFirst} - piece.downFirst);
    if (run == height) {
      // Whole columns lie end to end: the block's columns in the piece are one run.
      std::fill_n(column, run * (int64_t{eastLast} - eastFirst + 1), label);
      continue;
    }
    // Blocks are mostly a few cells across: a plain loop beats a call per column.
    for (int32_t j = eastFirst; j <= eastLast; ++j, column += height) {
      for (int64_t i = 0; i < run; ++i) column[i] = label;
    }
  }
}
