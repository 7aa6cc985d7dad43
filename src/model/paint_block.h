#pragma once

#include "mesh/mesh.h"
#include "model/block_record.h"
#include "model/cell_model.h"

/// Sets every cell of the model to the background value.
void fillModel(CellModel& model, double background);

/// Orders the block's bounds in place, snaps them to their nearest nodes and sets the cells
/// between the snapped nodes to the block's value; cells outside the model are never touched.
void paintBlock(CellModel& model, const Mesh& mesh, BlockRecord& block);
