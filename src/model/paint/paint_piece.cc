#include "model/paint/paint_piece.h"

#include <algorithm>
#include <cstring>

namespace {

// `count` labels stored at once: one store of their bytes when the count is fixed.
template <int Count>
void storeLabels(uint32_t* at, const uint32_t* labels) {
  std::memcpy(at, labels, Count * sizeof(uint32_t));
}

// Paints the first `run` (at least 1) cells of `columns` columns `height` apart. Runs are
// mostly a few cells, and of every length: a loop over the run would end at a different
// place in every column, and its mispredicted end would cost more than the stores. Runs
// up to 16 are painted instead by two or three stores of a fixed size, from the start and
// back from the end, that overlap where the run is shorter than they are; the length
// class is chosen once a block.
void paintColumns(uint32_t* column, int64_t height, int32_t columns, int64_t run, uint32_t label) {
  uint32_t labels[8];
  std::fill_n(labels, 8, label);
  if (run <= 3) {
    for (int32_t j = 0; j < columns; ++j, column += height) {
      column[0] = label;
      column[run / 2] = label;
      column[run - 1] = label;
    }
  } else if (run <= 8) {
    for (int32_t j = 0; j < columns; ++j, column += height) {
      storeLabels<4>(column, labels);
      storeLabels<4>(column + run - 4, labels);
    }
  } else if (run <= 16) {
    for (int32_t j = 0; j < columns; ++j, column += height) {
      storeLabels<8>(column, labels);
      storeLabels<8>(column + run - 8, labels);
    }
  } else {
    for (int32_t j = 0; j < columns; ++j, column += height) std::fill_n(column, run, label);
  }
}

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
    paintColumns(column, height, eastLast - eastFirst + 1, run, label);
  }
}

}  // namespace

void paintPiece(const ActiveBlock* active, const uint32_t* chosen, size_t chosenCount,
                const ModelPiece& piece, uint32_t* labels) {
  paintBlocks(
      active, chosenCount, [chosen](size_t c) { return chosen[c]; },
      [chosen](size_t c) { return chosen[c] + 1; }, piece, labels);
}
