// Building the cell model from the block file.
#pragma once

#include "mesh/mesh.h"
#include "model/cell_model.h"

/// Creates the cell model for `mesh`, then reads the block file named by the
/// blank-padded buffer `name` (unit 1): fills the model with the background and
/// paints each block in file order. False when the file cannot be opened (the model
/// exists, unfilled); read errors end the run.
bool paintBlocks(const char* name, int length, const Mesh& mesh, CellModel& model);

/// Creates the cell model of `mesh`: max(n,0) cells per axis, sized in 32-bit
/// arithmetic (message 179 on overflow, 41 when memory is refused).
CellModel createCellModel(const Mesh& mesh);
