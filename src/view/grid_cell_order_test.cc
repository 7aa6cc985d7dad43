#include "view/grid_cell_order.h"

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

TEST(ToGridCellOrderTest, PutsEastingFastestThenNorthingThenElevation) {
  // Three different counts, so that any swapped axis shows.
  const int64_t ne = 3, nn = 2, nz = 4;
  const std::vector<double> model = codedModel(ne, nn, nz);
  std::vector<double> grid(model.size(), -1);
  toGridCellOrder(model.data(), ne, nn, nz, 0, nz, grid.data());
  size_t at = 0;
  for (int64_t i = 0; i < nz; ++i) {
    for (int64_t k = 0; k < nn; ++k) {
      for (int64_t j = 0; j < ne; ++j) EXPECT_EQ(grid[at++], 100.0 * i + 10.0 * j + k);
    }
  }
}

TEST(ToGridCellOrderTest, ConvertsARunOfLayersOnItsOwn) {
  const int64_t ne = 2, nn = 3, nz = 5;
  const std::vector<double> model = codedModel(ne, nn, nz);
  std::vector<double> whole(model.size());
  toGridCellOrder(model.data(), ne, nn, nz, 0, nz, whole.data());
  for (int64_t first = 0; first < nz; ++first) {
    for (int64_t count = 1; first + count <= nz; ++count) {
      std::vector<double> part(static_cast<size_t>(count * ne * nn));
      toGridCellOrder(model.data(), ne, nn, nz, first, count, part.data());
      const std::vector<double> expected(whole.begin() + first * ne * nn,
                                         whole.begin() + (first + count) * ne * nn);
      EXPECT_EQ(part, expected) << first << " " << count;
    }
  }
}

}  // namespace
