#include "model/paint_piece.h"

#include <algorithm>

namespace {

// Paints the `count` blocks active[placeOf(c)], c = 0..count-1, in that order (file
// order), each cell with the label `labelOf(c)`.
template <typename PlaceOf, typename LabelOf>
void paintBlocks(const ActiveBlock* active, size_t count, PlaceOf placeOf, LabelOf labelOf,
                 const ModelPiece& piece, uint32_t* labels) {
  const int64_t height = int64_t{piece.downLast} - piece.downFirst + 1;
  std::fill_n(labels, cellsIn(piece), 0u);
  // In file order, so that a later block paints over an earlier one.
  for (size_t c = 0; c < count; ++c) {
    const ActiveBlock& block = active[placeOf(c)];
    const int32_t eastFirst = std::max(block.eastFirst, piece.eastFirst);
    const int32_t eastLast = std::min(block.eastLast, piece.eastLast);
    const int32_t downFirst = std::max(block.downFirst, piece.downFirst);
    const int32_t downLast = std::min(block.downLast, piece.downLast);
    if (eastFirst > eastLast || downFirst > downLast) continue;
    const uint32_t label = labelOf(c);
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

}  // namespace

void paintPiece(const ActiveBlock* active, const uint32_t* chosen, size_t chosenCount,
                const ModelPiece& piece, uint32_t* labels) {
  paintBlocks(
      active, chosenCount, [chosen](size_t c) { return chosen[c]; },
      [chosen](size_t c) { return chosen[c] + 1; }, piece, labels);
}
