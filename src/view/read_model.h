// Reading a model file back: one value per record, in the model's own cell order.
#pragma once

#include <cstdint>
#include <memory>

#include "mesh/mesh.h"

/// The cell values of a model, elevation index fastest, then easting, then northing.
struct ModelValues {
  std::unique_ptr<double[]> values;
  int64_t count = 0;
};

/// The number of cells of `mesh` (0 when a count is not positive); ends the run when
/// the product is too large to hold.
int64_t meshCellCount(const Mesh& mesh);

/// Reads the model file `name` written for `mesh` ("-": standard input) in one pass,
/// front to back, so that a pipe or a FIFO will do: exactly one record per cell, each one
/// number at any width and its line end, read as the input files' numbers are, so that
/// every text the model writer makes reads back as the value it was made from. Another
/// number of records, or a record that is not one number and its line end, ends the run
/// with one line naming the file and the record.
ModelValues readModel(const char* name, const Mesh& mesh);
