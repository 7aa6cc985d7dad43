// One slice of the model as a flat grid of cells: an axis across, an axis up.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/mesh.h"
#include "view/slice/slice_choice.h"

/// The cells of one slice.
struct SlicePlane {
  const NodeAxis* across = nullptr;  // drawn left to right, rising coordinates to the right
  const NodeAxis* up = nullptr;      // drawn bottom to top, rising coordinates upward
  const char* acrossName = "";
  const char* upName = "";
  std::vector<double> values;  // across index fastest, then up index; both from 0
};

/// Cuts slice `index` (from 1) across `axis` out of the cell values `model` of `mesh`
/// (model order): an elevation slice has easting across and northing up; an easting
/// slice northing across and elevation up; a northing slice easting across and
/// elevation up.
SlicePlane cutSlice(const Mesh& mesh, const double* model, SliceAxis axis, int32_t index);
