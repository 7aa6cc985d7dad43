#include "model/model_piece.h"

#include <algorithm>

PieceCursor startPieces(int32_t me, int32_t mn, int32_t mz, int64_t maxCells) {
  PieceCursor cursor;
  cursor.me = me;
  cursor.mn = mn;
  cursor.mz = mz;
  cursor.maxCells = std::max<int64_t>(maxCells, 1);
  return cursor;
}

bool nextPiece(PieceCursor& cursor, ModelPiece& piece) {
  if (cursor.me <= 0 || cursor.mn <= 0 || cursor.mz <= 0) return false;
  ModelPiece next;
  if (!cursor.started) {
    next.northing = 1;
    next.eastFirst = 1;
    next.downFirst = 1;
  } else {
    const ModelPiece& last = cursor.last;
    next = last;
    if (last.downLast < cursor.mz) {
      next.downFirst = last.downLast + 1;  // the rest of a long column
    } else if (last.eastLast < cursor.me) {
      next.eastFirst = last.eastLast + 1;
      next.downFirst = 1;
    } else if (last.northing < cursor.mn) {
      next.northing = last.northing + 1;
      next.eastFirst = 1;
      next.downFirst = 1;
    } else {
      return false;
    }
  }
  if (cursor.mz <= cursor.maxCells) {
    // Whole columns, as many as fit.
    const int64_t columns = std::max<int64_t>(cursor.maxCells / cursor.mz, 1);
    next.eastLast =
        static_cast<int32_t>(std::min<int64_t>(int64_t{next.eastFirst} + columns - 1, cursor.me));
    next.downLast = cursor.mz;
  } else {
    next.eastLast = next.eastFirst;
    next.downLast = static_cast<int32_t>(
        std::min<int64_t>(int64_t{next.downFirst} + cursor.maxCells - 1, cursor.mz));
  }
  cursor.last = next;
  cursor.started = true;
  piece = next;
  return true;
}
