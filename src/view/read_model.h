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

/// Reads the model file `name` written for `mesh`: exactly one value per cell, one per
/// record, with the free-form reader of the input files, so that every text the model
/// writer makes reads back as the value it was made from. A file with another number
/// of records, a blank record among them, or an unreadable value ends the run with one
/// line naming the file and the record.
ModelValues readModel(const char* name, const Mesh& mesh);
