#include "view/grid_cell_order.h"

void toGridCellOrder(const double* model, int64_t ne, int64_t nn, int64_t nz, int64_t firstLayer,
                     int64_t layerCount, double* grid) {
  // The layers of one (j, k) column lie side by side in the model and a whole layer
  // apart in the grid: read each column's run once, write each layer's row in order.
  const int64_t layer = ne * nn;
  for (int64_t column = 0; column < layer; ++column) {
    const double* from = model + nz * column + firstLayer;
    double* to = grid + column;
    for (int64_t i = 0; i < layerCount; ++i) to[layer * i] = from[i];
  }
}
