// Writing the model file.
#pragma once

#include "mesh/mesh.h"
#include "model/blocks/read_blocks.h"

/// Writes one record per cell to the model file named by the blank-padded buffer `name`
/// (unit 2), northing outermost and elevation innermost: each cell the value of the last
/// block in `plan` that covers it, or the background. The model is made a piece at a time
/// in record order, never whole; the painting takes over the plan's block list, which is
/// empty afterwards. No record when a count is 0 or less. Failures end the run.
void writeModel(const char* name, int length, const Mesh& mesh, BlockPlan& plan);
