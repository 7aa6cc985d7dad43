#include "model_files/grid_cell_order.h"

void toGridCellOrder(const double* model, int64_t ne, int64_t nn, int64_t nz, GridFlips flips,
                     int64_t firstLayer, int64_t layerCount, double* grid) {
  // The layers of one (j, k) column lie side by side in the model and a whole layer
  // apart in the grid: read each column's run once, write each layer's row in order.
  const int64_t layer = ne * nn;
  for (int64_t kGrid = 0; kGrid < nn; ++kGrid) {
    const int64_t k = flips.northing ? nn - 1 - kGrid : kGrid;
    for (int64_t jGrid = 0; jGrid < ne; ++jGrid) {
      const int64_t j = flips.easting ? ne - 1 - jGrid : jGrid;
      const double* column = model + nz * (j + ne * k);
      double* to = grid + jGrid + ne * kGrid;
      if (flips.elevation) {
        // Grid layer i' holds model layer nz-1-i': the run is read downward.
        const double* from = column + (nz - 1 - firstLayer);
        for (int64_t i = 0; i < layerCount; ++i) to[layer * i] = from[-i];
      } else {
        const double* from = column + firstLayer;
        for (int64_t i = 0; i < layerCount; ++i) to[layer * i] = from[i];
      }
    }
  }
}
