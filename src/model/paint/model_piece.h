// Cutting the model into pieces that lie together in record order.
#pragma once

#include <cstdint>

/// Cells of one northing slab that lie together in record order: the elevation cells
/// downFirst..downLast of each easting column eastFirst..eastLast. A piece of several
/// columns holds them whole (downFirst is 1 and downLast the column's last cell).
struct ModelPiece {
  int32_t northing = 1;
  int32_t eastFirst = 1, eastLast = 0;
  int32_t downFirst = 1, downLast = 0;
};

/// Most cells painted at a time, whatever the model's shape: 1 MiB of labels, so that the
/// memory a model needs does not grow with its number of cells.
constexpr int64_t kPieceCells = int64_t{1} << 18;

/// The number of cells in `piece`.
inline int64_t cellsIn(const ModelPiece& piece) {
  return (int64_t{piece.eastLast} - piece.eastFirst + 1) *
         (int64_t{piece.downLast} - piece.downFirst + 1);
}

/// Where the cutting stands: the model's extents (cells along easting, northing and
/// elevation, all > 0) and the largest piece to make.
struct PieceCursor {
  int32_t me = 0, mn = 0, mz = 0;
  int64_t maxCells = 1;
  ModelPiece last;       // the piece made last
  bool started = false;  // a piece has been made
};

/// Starts cutting a model of me x mn x mz cells into pieces of at most `maxCells` cells:
/// whole northing slabs where they fit, else runs of whole columns, else parts of one
/// column. A model with no cells gives no piece.
PieceCursor startPieces(int32_t me, int32_t mn, int32_t mz, int64_t maxCells);

/// Makes the next piece in record order; false when the model is done.
bool nextPiece(PieceCursor& cursor, ModelPiece& piece);

/// The number of cells in the largest piece the cursor makes (0 for a model with no cells).
int64_t largestPiece(const PieceCursor& cursor);

/// The number of pieces each northing slab is cut into.
int64_t piecesPerSlab(const PieceCursor& cursor);

/// The place (from 0) among its slab's pieces of the piece that holds the cell of easting
/// index `east` and elevation index `down` (both from 1, inside the model).
int64_t pieceOfCell(const PieceCursor& cursor, int32_t east, int32_t down);
