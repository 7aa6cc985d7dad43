// Writing the model file: one 10-character value a record, in record order, from painted
// blocks or from values given one a cell.
#pragma once

#include <cstdint>

#include "mesh/mesh.h"
#include "model/blocks/read_blocks.h"
#include "model/paint/model_painter.h"

struct Connection;

/// Writes one record per cell to the model file named by the blank-padded buffer `name`
/// (unit 2), northing outermost and elevation innermost: each cell the value of the last
/// block in `plan` that covers it, or the background. The model is made a piece at a time
/// in record order, never whole; the painting takes over the plan's block list, which is
/// empty afterwards. No record when a count is 0 or less. Failures end the run.
void writeModel(const char* name, int length, const Mesh& mesh, BlockPlan& plan);

/// Writes the record of every cell `painter` paints, in record order, to the write
/// connection `connection`: the text of the block each label names, or the background's.
void writePaintedRecords(Connection& connection, ModelPainter& painter);

/// Writes one record per value of `values[0..count)`, in order, each the text
/// formatModelValue renders, to the write connection `connection`: the same bytes as
/// `emit` with `modelValueLayout` once per value.
void writeValueRecords(Connection& connection, const double* values, int64_t count);
