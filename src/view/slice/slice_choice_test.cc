#include "view/slice/slice_choice.h"

#include <gtest/gtest.h>

#include <vector>

#include "mesh/node_axis_testing.h"

namespace {

TEST(CellContainingTest, FindsTheCellOnRisingAndFallingAxes) {
  std::vector<double> rising = {0, 10, 30, 60};
  std::vector<double> falling = {100, 90, 70};  // elevation: thicknesses 10, 20 from the top
  const NodeAxis east = axisOver(rising);
  const NodeAxis up = axisOver(falling);
  struct Case {
    const NodeAxis* axis;
    double coordinate;
    int32_t cell;
  };
  const Case cases[] = {
      {&east, 5, 1},    {&east, 29.9, 2}, {&east, 45, 3},
      {&east, 0, 1},    {&east, 60, 3},  // the outer nodes belong to the outer cells
      {&east, 10, 1},   {&east, 30, 2},  // a shared node: the smaller index
      {&east, -0.1, 0}, {&east, 60.5, 0}, {&up, 95, 1},
      {&up, 85.5, 2},   {&up, 90, 1},  // 90 is shared: the upper cell
      {&up, 70, 2},     {&up, 100.1, 0},  {&up, 69, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(cellContaining(*c.axis, c.coordinate), c.cell) << c.coordinate;
  }
}

TEST(SliceCellIndexTest, ResolvesIndicesAndCoordinatesOrSaysWhyNot) {
  std::vector<double> east = {0, 50, 100};
  std::vector<double> north = {0, 50, 100, 150};
  std::vector<double> elevation = {200, 190, 170, 140};
  Mesh mesh{axisOver(east), axisOver(north), axisOver(elevation)};
  struct Case {
    SliceChoice choice;
    int32_t index;  // 0: refused
    const char* error;
  };
  const Case cases[] = {
      {{SliceAxis::Elevation, false, 3, 0}, 3, ""},
      {{SliceAxis::Easting, false, 2, 0}, 2, ""},
      {{SliceAxis::Northing, true, 0, 120}, 3, ""},
      {{SliceAxis::Elevation, true, 0, 185}, 2, ""},
      {{SliceAxis::Elevation, false, 4, 0}, 0, "slice 4 lies outside the mesh's 3 elevation cells"},
      {{SliceAxis::Easting, false, 0, 0}, 0, "slice 0 lies outside the mesh's 2 easting cells"},
      {{SliceAxis::Elevation, true, 0, 100}, 0, "elevation 100 lies outside the mesh (140 to 200)"},
      {{SliceAxis::Northing, true, 0, -1}, 0, "northing -1 lies outside the mesh (0 to 150)"},
  };
  for (const Case& c : cases) {
    int32_t index = 0;
    std::string error;
    EXPECT_EQ(sliceCellIndex(mesh, c.choice, index, error), c.index != 0) << c.error;
    if (c.index != 0) {
      EXPECT_EQ(index, c.index);
    }
    EXPECT_EQ(error, c.error);
  }
}

}  // namespace
