#include "model_files/grid_flips.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "mesh/node_axis_testing.h"

namespace {

TEST(GridFlipsOfTest, ReversesFallingAxesAndRefusesUnorderedOnes) {
  struct Case {
    std::vector<double> elevation;
    bool flip;
    const char* error;  // empty: accepted
  };
  const Case cases[] = {
      {{50, 49, 47, 44}, true, ""},
      {{50, 50, 47, 47}, true, ""},  // zero thicknesses
      {{-3, 0, 2}, false, ""},       // negative thicknesses throughout
      {{7, 7}, false, ""},
      {{7}, false, ""},
      {{50, 49, 51}, false, "the elevation nodes both rise and fall"},
      {{50, NAN, 40}, false, "the elevation nodes are not all finite numbers"},
      {{50, -INFINITY}, false, "the elevation nodes are not all finite numbers"},
  };
  std::vector<double> east = {100, 110}, north = {5, 0};
  for (Case c : cases) {
    const Mesh mesh{axisOver(east), axisOver(north), axisOver(c.elevation)};
    GridFlips flips;
    std::string error;
    EXPECT_EQ(gridFlipsOf(mesh, flips, error), *c.error == '\0') << c.error;
    EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error);
    if (*c.error == '\0') {
      EXPECT_FALSE(flips.easting);
      EXPECT_TRUE(flips.northing);
      EXPECT_EQ(flips.elevation, c.flip) << c.elevation[0];
    }
  }
}

}  // namespace
