#include "model/blocks/painted_block.h"

#include <cstring>

bool makePaintedBlock(const Mesh& mesh, BlockRecord& block, ValueTexts& texts,
                      PaintedBlock& painted) {
  painted.cells = blockCells(mesh, block);
  if (paintsNothing(painted.cells)) return false;
  std::memcpy(painted.record, valueText(texts, block.value), kModelValueWidth);
  return true;
}
