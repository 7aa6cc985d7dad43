// A range of cells along one axis.
#pragma once

#include <algorithm>
#include <cstdint>

/// Cells first..last of one axis, counted from 1; empty when first > last.
struct CellRange {
  int32_t first = 1;
  int32_t last = 0;
};

/// True when the range holds no cell.
inline bool isEmpty(CellRange range) {
  return range.first > range.last;
}

/// The number of cells in the range (0 when empty).
inline int64_t cellsIn(CellRange range) {
  return isEmpty(range) ? 0 : int64_t{range.last} - range.first + 1;
}

/// The cells between two snapped nodes, lowerNode..upperNode-1, kept inside 1..extent. A
/// lower node index of 0 (no node near the bound) starts the range at the mesh's edge; an
/// upper index of 0 leaves it empty.
inline CellRange cellsBetween(int32_t lowerNode, int32_t upperNode, int32_t extent) {
  const int64_t last = std::min<int64_t>(int64_t{upperNode} - 1, extent);
  return {std::max<int32_t>(lowerNode, 1), static_cast<int32_t>(std::max<int64_t>(last, 0))};
}
