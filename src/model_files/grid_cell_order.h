// Reordering cell values from the model's order into the order of a VTK grid.
#pragma once

#include <cstdint>

#include "model_files/grid_flips.h"

/// Copies grid layers `firstLayer` .. `firstLayer + layerCount - 1` of the `ne` x `nn` x
/// `nz` cell values of `model` (elevation index i fastest, then easting j, then northing
/// k) into `grid` in the order of a grid whose x axis is easting, y northing and z
/// elevation (x fastest, then y, then z), each axis reversed where `flips` says; indices
/// from 0, with i' = nz-1-i on a flipped elevation axis (j' and k' alike) and i' = i
/// otherwise: grid[j' + ne*k' + ne*nn*(i' - firstLayer)] = model[i + nz*j + nz*ne*k].
void toGridCellOrder(const double* model, int64_t ne, int64_t nn, int64_t nz, GridFlips flips,
                     int64_t firstLayer, int64_t layerCount, double* grid);
