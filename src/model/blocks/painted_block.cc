#include "model/blocks/painted_block.h"

bool makePaintedBlock(const Mesh& mesh, BlockRecord& block, PaintedBlock& painted) {
  painted.cells = blockCells(mesh, block);
  painted.value = block.value;
  return !paintsNothing(painted.cells);
}
