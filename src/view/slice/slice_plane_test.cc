#include "view/slice/slice_plane.h"

#include <gtest/gtest.h>

#include <vector>

#include "mesh/node_axis_testing.h"

namespace {

TEST(CutSliceTest, TakesTheCellsOfEachKindOfSlice) {
  std::vector<double> east = {0, 1, 2, 3}, north = {0, 1, 2}, up = {10, 9, 8, 7, 6};
  const Mesh mesh{axisOver(east), axisOver(north), axisOver(up)};
  const int64_t ne = 3, nn = 2, nz = 4;
  // A cell's value tells its indices, from 1: 100 i + 10 j + k.
  std::vector<double> model;
  for (int64_t k = 1; k <= nn; ++k) {
    for (int64_t j = 1; j <= ne; ++j) {
      for (int64_t i = 1; i <= nz; ++i) model.push_back(100.0 * i + 10.0 * j + k);
    }
  }
  struct Case {
    SliceAxis axis;
    int32_t index;
    const char* acrossName;
    const char* upName;
    std::vector<double> values;  // across fastest, up from the lowest index
  };
  const Case cases[] = {
      {SliceAxis::Elevation, 2, "easting", "northing", {211, 221, 231, 212, 222, 232}},
      {SliceAxis::Easting, 3, "northing", "elevation", {131, 132, 231, 232, 331, 332, 431, 432}},
      {SliceAxis::Northing,
       1,
       "easting",
       "elevation",
       {111, 121, 131, 211, 221, 231, 311, 321, 331, 411, 421, 431}},
  };
  for (const Case& c : cases) {
    const SlicePlane plane = cutSlice(mesh, model.data(), c.axis, c.index);
    EXPECT_STREQ(plane.acrossName, c.acrossName);
    EXPECT_STREQ(plane.upName, c.upName);
    EXPECT_EQ(plane.values, c.values) << c.acrossName << " " << c.upName;
  }
}

}  // namespace
