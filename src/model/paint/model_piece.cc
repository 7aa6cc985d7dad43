#include "model/paint/model_piece.h"

#include <algorithm>

// A slab is cut into runs of `columns` whole columns when a column fits in a piece, else
// each column into parts of maxCells cells: the cutting of nextPiece, as arithmetic.
namespace {

int64_t columnsPerPiece(const PieceCursor& cursor) {
  return std::max<int64_t>(cursor.maxCells / cursor.mz, 1);
}

int64_t partsPerColumn(const PieceCursor& cursor) {
  return (int64_t{cursor.mz} + cursor.maxCells - 1) / cursor.maxCells;
}

}  // namespace

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
    next.eastLast = static_cast<int32_t>(
        std::min<int64_t>(int64_t{next.eastFirst} + columnsPerPiece(cursor) - 1, cursor.me));
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

int64_t largestPiece(const PieceCursor& cursor) {
  if (cursor.me <= 0 || cursor.mn <= 0 || cursor.mz <= 0) return 0;
  if (cursor.mz > cursor.maxCells) return cursor.maxCells;
  return std::min<int64_t>(columnsPerPiece(cursor), cursor.me) * cursor.mz;
}

int64_t piecesPerSlab(const PieceCursor& cursor) {
  if (cursor.me <= 0 || cursor.mz <= 0) return 0;
  if (cursor.mz <= cursor.maxCells) {
    return (int64_t{cursor.me} + columnsPerPiece(cursor) - 1) / columnsPerPiece(cursor);
  }
  return int64_t{cursor.me} * partsPerColumn(cursor);
}

int64_t pieceOfCell(const PieceCursor& cursor, int32_t east, int32_t down) {
  if (cursor.mz <= cursor.maxCells) return (int64_t{east} - 1) / columnsPerPiece(cursor);
  return (int64_t{east} - 1) * partsPerColumn(cursor) + (int64_t{down} - 1) / cursor.maxCells;
}
