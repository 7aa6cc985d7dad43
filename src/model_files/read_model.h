// Reading a model file back: one value per record, in the model's own cell order.
#pragma once

#include <cstdint>
#include <memory>

#include "companion/companion_failure.h"
#include "mesh/mesh.h"
#include "model_files/read_model_records.h"

/// The cell values of a model, elevation index fastest, then easting, then northing.
struct ModelValues {
  std::unique_ptr<double[]> values;
  int64_t count = 0;
};

/// The number of cells of `mesh` in `count` (0 when a count is not positive); a failure
/// when the product is too large to hold in memory.
CompanionFailure meshCellCount(const Mesh& mesh, int64_t& count);

/// Reads the model file `name` written for `mesh` ("-": standard input) into `values`,
/// which holds the mesh's cell count of doubles, in one pass, front to back, so that a
/// pipe or a FIFO will do: exactly one record per cell, each one number at any width and
/// its line end, read as the input files' numbers are, so that every text the model
/// writer makes reads back as the value it was made from. Another number of records, a
/// record that is not one number and its line end, or a file that cannot be opened or
/// read is a failure naming the file and the record; the file is closed whatever the
/// outcome, and `values` may then hold some values read.
/// With `control`, the reading stops between batches once it says so, a failure with
/// the run-time's message of a run stopped by the user (200).
CompanionFailure readModelValues(const char* name, const Mesh& mesh, double* values,
                                 const ReadControl* control = nullptr);

/// Reads the model file `name` written for `mesh` into `model`, whose values it makes, as
/// readModelValues does; memory refused for them is a failure too.
CompanionFailure readModel(const char* name, const Mesh& mesh, ModelValues& model);
