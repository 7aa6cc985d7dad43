// Writing the model file: one 10-character value a record, in record order, from painted
// blocks or from values given one a cell.
#pragma once

#include <atomic>
#include <cstdint>

#include "mesh/mesh.h"
#include "model/blocks/read_blocks.h"
#include "model/paint/model_painter.h"

struct Connection;

/// Writes one record per cell to the model file named by the blank-padded buffer `name`
/// (unit 2), northing outermost and elevation innermost: each cell the value of the last
/// block in `plan` that covers it, or the background. The model is made a piece at a time
/// in record order, never whole; the painting takes over the plan's block list, which is
/// empty afterwards. No record when a count is 0 or less. Returns no failure; refused memory
/// (41), before the file is opened, so that an existing model stays as it was; the open's
/// refusal (9, 29, 30, 42, 43); a refused write (38), after which the file keeps the whole
/// records it took; or a failing close (28). With `stop`, the writing stops between pieces
/// once it is set, the file keeping the whole records written, and the stop is returned
/// (message 200); so it does when the run is ending on another thread, which then has the
/// file. The model file is closed whatever the outcome.
Failure writeModel(const char* name, int length, const Mesh& mesh, BlockPlan& plan,
                   const std::atomic<bool>* stop = nullptr);

/// Writes the record of every cell `painter` paints, in record order, to the write
/// connection `connection`: the text of the block each label names, or the background's.
/// Returns the first failure of its writes (38, 41, the stop), and the stop once `stop`
/// is set, which is looked at between pieces.
Failure writePaintedRecords(Connection& connection, ModelPainter& painter,
                            const std::atomic<bool>* stop = nullptr);

/// Writes one record per value of `values[0..count)`, in order, each the text
/// formatModelValue renders, to the write connection `connection`: the same bytes as
/// `emit` with `modelValueLayout` once per value. Returns the first failure of its writes.
Failure writeValueRecords(Connection& connection, const double* values, int64_t count);
