#pragma once

#include <cstdint>

/// One value per mesh cell. Cell (i, j, k) (elevation, easting, northing, from 1) is
/// values[(i-1) + mz*(j-1) + mz*me*(k-1)]: each (j, k) column is contiguous, top down.
struct CellModel {
  int32_t mz = 0, me = 0, mn = 0;  // extents: max(n, 0) along elevation, easting, northing
  double* values = nullptr;
};
