#include "check/reading/count_visible_cells.h"

#include <algorithm>

#include "model/paint/model_painter.h"

Failure countVisibleCells(const Mesh& mesh, BlockFileReport& report) {
  report.visible.assign(report.cells.size(), 0);
  report.backgroundCells = 0;

  // Every block goes in, those that paint nothing too, so that a block's place in the list
  // is its number in the file less one.
  BlockList blocks;
  for (const BlockCells& cells : report.cells) {
    PaintedBlock* block = appendBlock(blocks);
    if (block == nullptr) return failureOf(Message::OutOfMemory);
    block->cells = cells;
    block->value = 0;
  }
  ModelPainter painter;
  if (const Failure refused = startPainting(painter, blocks, mesh.easting.cellCount,
                                            mesh.northing.cellCount, mesh.elevation.cellCount)) {
    return refused;
  }
  ModelPiece piece;
  const uint32_t* labels = nullptr;
  while (paintNextPiece(painter, piece, labels)) {
    const int64_t cells = cellsIn(piece);
    if (labels == nullptr) {
      report.backgroundCells += cells;
      continue;
    }
    for (int64_t c = 0; c < cells; ++c) {
      const uint32_t label = labels[c];
      if (label == 0) {
        ++report.backgroundCells;
      } else {
        ++report.visible[labelledBlock(painter, label).position];
      }
    }
  }
  return {};
}
