#include "model_files/grid_cell_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A cell's value tells its indices: 100 * i + 10 * j + k, from 0.
std::vector<double> codedModel(int64_t ne, int64_t nn, int64_t nz) {
  std::vector<double> model;
  for (int64_t k = 0; k < nn; ++k) {
    for (int64_t j = 0; j < ne; ++j) {
      for (int64_t i = 0; i < nz; ++i) model.push_back(100.0 * i + 10.0 * j + k);
    }
  }
  return model;
}

// Every combination of reversed axes.
std::vector<GridFlips> allFlips() {
  std::vector<GridFlips> result;
  for (int bits = 0; bits < 8; ++bits)
    result.push_back({(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0});
  return result;
}

TEST(ToGridCellOrderTest, PutsEastingFastestThenNorthingThenElevationEachWayRound) {
  // Three different counts, so that any swapped axis shows.
  const int64_t ne = 3, nn = 2, nz = 4;
  const std::vector<double> model = codedModel(ne, nn, nz);
  for (const GridFlips flips : allFlips()) {
    std::vector<double> grid(model.size(), -1);
    toGridCellOrder(model.data(), ne, nn, nz, flips, 0, nz, grid.data());
    size_t at = 0;
    for (int64_t iGrid = 0; iGrid < nz; ++iGrid) {
      for (int64_t kGrid = 0; kGrid < nn; ++kGrid) {
        for (int64_t jGrid = 0; jGrid < ne; ++jGrid) {
          const int64_t i = flips.elevation ? nz - 1 - iGrid : iGrid;
          const int64_t j = flips.easting ? ne - 1 - jGrid : jGrid;
          const int64_t k = flips.northing ? nn - 1 - kGrid : kGrid;
          EXPECT_EQ(grid[at++], 100.0 * i + 10.0 * j + k)
              << flips.easting << flips.northing << flips.elevation;
        }
      }
    }
  }
}

TEST(ToGridCellOrderTest, ConvertsARunOfLayersOnItsOwn) {
  const int64_t ne = 2, nn = 3, nz = 5;
  const std::vector<double> model = codedModel(ne, nn, nz);
  for (const GridFlips flips : allFlips()) {
    std::vector<double> whole(model.size());
    toGridCellOrder(model.data(), ne, nn, nz, flips, 0, nz, whole.data());
    for (int64_t first = 0; first < nz; ++first) {
      for (int64_t count = 1; first + count <= nz; ++count) {
        std::vector<double> part(static_cast<size_t>(count * ne * nn));
        toGridCellOrder(model.data(), ne, nn, nz, flips, first, count, part.data());
        const std::vector<double> expected(whole.begin() + first * ne * nn,
                                           whole.begin() + (first + count) * ne * nn);
        EXPECT_EQ(part, expected) << first << " " << count;
      }
    }
  }
}

}  // namespace
