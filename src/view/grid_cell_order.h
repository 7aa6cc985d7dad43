// Reordering cell values from the model's order into the order of a VTK grid.
#pragma once

#include <cstdint>

/// Copies elevation layers `firstLayer` .. `firstLayer + layerCount - 1` of the
/// `ne` x `nn` x `nz` cell values of `model` (elevation index i fastest, then easting j,
/// then northing k) into `grid` in the order of a grid whose x axis is easting, y
/// northing and z elevation (x fastest, then y, then z); indices from 0:
/// grid[j + ne*k + ne*nn*(i - firstLayer)] = model[i + nz*j + nz*ne*k].
void toGridCellOrder(const double* model, int64_t ne, int64_t nn, int64_t nz, int64_t firstLayer,
                     int64_t layerCount, double* grid);
