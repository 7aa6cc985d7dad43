#include "model/paint/piece_blocks.h"

#include <algorithm>
#include <numeric>

void reservePieceBlocks(PieceBlocks& pieces, size_t mostActive, const PieceCursor& cursor) {
  pieces.byFirstPiece.reserve(mostActive);
  pieces.lastPiece.reserve(mostActive);
  pieces.chosen.reserve(mostActive);
  pieces.pieceStart.reserve(static_cast<size_t>(piecesPerSlab(cursor)) + 1);
}

void startSlabPieces(PieceBlocks& pieces, const std::vector<ActiveBlock>& active,
                     const PieceCursor& cursor) {
  const size_t count = active.size();
  pieces.chosen.clear();
  pieces.singlePiece = piecesPerSlab(cursor) == 1;
  if (pieces.singlePiece) {
    // The common case, a slab that fits in one piece: every active block meets it.
    pieces.chosen.resize(count);
    std::iota(pieces.chosen.begin(), pieces.chosen.end(), 0u);
    return;
  }
  pieces.lastPiece.resize(count);
  pieces.byFirstPiece.resize(count);
  // A counting sort by first piece keeps the places rising among blocks that start in
  // the same piece.
  pieces.pieceStart.assign(static_cast<size_t>(piecesPerSlab(cursor)) + 1, 0);
  for (size_t a = 0; a < count; ++a) {
    const ActiveBlock& block = active[a];
    pieces.lastPiece[a] =
        static_cast<uint32_t>(pieceOfCell(cursor, block.eastLast, block.downLast));
    ++pieces.pieceStart[static_cast<size_t>(pieceOfCell(cursor, block.eastFirst, block.downFirst)) +
                        1];
  }
  for (size_t p = 1; p < pieces.pieceStart.size(); ++p) {
    pieces.pieceStart[p] += pieces.pieceStart[p - 1];
  }
  for (size_t a = 0; a < count; ++a) {
    const ActiveBlock& block = active[a];
    const size_t first = static_cast<size_t>(pieceOfCell(cursor, block.eastFirst, block.downFirst));
    pieces.byFirstPiece[pieces.pieceStart[first]++] = static_cast<uint32_t>(a);
  }
  // Each start has moved on to where the next piece's blocks begin: back by one piece.
  for (size_t p = pieces.pieceStart.size() - 1; p > 0; --p) {
    pieces.pieceStart[p] = pieces.pieceStart[p - 1];
  }
  pieces.pieceStart[0] = 0;
}

void choosePieceBlocks(PieceBlocks& pieces, uint32_t piece) {
  if (pieces.singlePiece) return;
  std::erase_if(pieces.chosen, [&](uint32_t place) { return pieces.lastPiece[place] < piece; });
  // The blocks that start at this piece join, merged from the back as the active list's
  // joining blocks are.
  const uint32_t* joining = pieces.byFirstPiece.data() + pieces.pieceStart[piece];
  size_t joiningCount = pieces.pieceStart[piece + 1] - pieces.pieceStart[piece];
  size_t kept = pieces.chosen.size();
  pieces.chosen.resize(kept + joiningCount);
  for (size_t out = kept + joiningCount; joiningCount > 0;) {
    if (kept > 0 && pieces.chosen[kept - 1] > joining[joiningCount - 1]) {
      pieces.chosen[--out] = pieces.chosen[--kept];
    } else {
      pieces.chosen[--out] = joining[--joiningCount];
    }
  }
}
