#include "view/colour_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

TEST(ColourScaleOfTest, SpansTheFiniteValues) {
  const std::vector<double> values = {NAN, 3, -INFINITY, -1, 2, INFINITY};
  const ColourScale scale = colourScaleOf(values.data(), static_cast<int64_t>(values.size()));
  EXPECT_TRUE(scale.hasValues);
  EXPECT_EQ(scale.low, -1);
  EXPECT_EQ(scale.high, 3);
  const std::vector<double> none = {NAN, INFINITY};
  EXPECT_FALSE(colourScaleOf(none.data(), 2).hasValues);
}

TEST(RampPlaceTest, PlacesValuesBetweenTheEnds) {
  const ColourScale scale{-1, 3, true};
  const ColourScale flat{2, 2, true};
  const ColourScale huge{-1.5e308, 1.5e308, true};
  struct Case {
    const ColourScale* scale;
    double value, place;
  };
  const Case cases[] = {
      {&scale, -1, 0},       {&scale, 3, 1},         {&scale, 0, 0.25},
      {&scale, INFINITY, 1}, {&scale, -INFINITY, 0}, {&flat, 2, 0.5},
      {&flat, INFINITY, 1},  {&huge, 0, 0.5},        {&huge, 1.5e308, 1},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(rampPlace(*c.scale, c.value), c.place);
}

TEST(RampColourTest, RunsFromDarkBlueToYellowGettingLighter) {
  EXPECT_EQ(rampColour(0), (Rgb{68, 1, 84}));
  EXPECT_EQ(rampColour(1), (Rgb{253, 231, 37}));
  EXPECT_EQ(rampColour(-5), rampColour(0));
  EXPECT_EQ(rampColour(7), rampColour(1));
  // Lightness rises all the way, so that the order of values reads at a glance.
  double previous = -1;
  for (int step = 0; step <= 100; ++step) {
    const Rgb c = rampColour(step / 100.0);
    const double lightness = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
    EXPECT_GT(lightness, previous) << step;
    EXPECT_NE(c, kNanColour);
    previous = lightness;
  }
  EXPECT_EQ(scaleColour(ColourScale{0, 1, true}, NAN), kNanColour);
}

}  // namespace
