// Writing the model file.
#pragma once

#include <cstdint>

#include "model/cell_model.h"

/// Writes one record per cell to the model file named by the blank-padded buffer
/// `name` (unit 2), northing outermost and elevation innermost; no record when a
/// count is 0 or less. Failures end the run.
void writeModel(const char* name, int length, int32_t ne, int32_t nn, int32_t nz,
                const CellModel& model);
