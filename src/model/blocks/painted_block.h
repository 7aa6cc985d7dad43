// What the model keeps of a block as it is read: the cells it paints and its record.
#pragma once

#include "mesh/mesh.h"
#include "model/blocks/block_list.h"
#include "model/blocks/block_record.h"

/// Snaps `block` (its bounds ordered in place, see blockCells) and, when it paints a cell,
/// makes `painted` of it: its cells and its value. False when it paints nothing; `painted`
/// is then no block.
bool makePaintedBlock(const Mesh& mesh, BlockRecord& block, PaintedBlock& painted);
