#include "view/slice/slice_plane.h"

SlicePlane cutSlice(const Mesh& mesh, const double* model, SliceAxis axis, int32_t index) {
  const int64_t ne = mesh.easting.cellCount;
  const int64_t nz = mesh.elevation.cellCount;
  // Cell (i, j, k), from 0, sits at i + nz*j + nz*ne*k in the model.
  const int64_t fixed = index - 1;
  SlicePlane plane;
  int64_t acrossStride = 0;
  int64_t upStride = 0;
  int64_t origin = 0;
  switch (axis) {
    case SliceAxis::Elevation:
      plane.across = &mesh.easting;
      plane.up = &mesh.northing;
      acrossStride = nz;
      upStride = nz * ne;
      origin = fixed;
      break;
    case SliceAxis::Easting:
      plane.across = &mesh.northing;
      plane.up = &mesh.elevation;
      acrossStride = nz * ne;
      upStride = 1;
      origin = nz * fixed;
      break;
    case SliceAxis::Northing:
      plane.across = &mesh.easting;
      plane.up = &mesh.elevation;
      acrossStride = nz;
      upStride = 1;
      origin = nz * ne * fixed;
      break;
  }
  plane.acrossName = plane.across == &mesh.easting ? "easting" : "northing";
  plane.upName = plane.up == &mesh.northing ? "northing" : "elevation";
  const int64_t columns = plane.across->cellCount;
  const int64_t rows = plane.up->cellCount;
  plane.values.resize(static_cast<size_t>(columns * rows));
  for (int64_t row = 0; row < rows; ++row) {
    for (int64_t column = 0; column < columns; ++column) {
      plane.values[static_cast<size_t>(column + columns * row)] =
          model[origin + acrossStride * column + upStride * row];
    }
  }
  return plane;
}
