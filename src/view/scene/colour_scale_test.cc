#include "view/scene/colour_scale.h"

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

TEST(ColourClassOfTest, SortsValuesOntoTheRampOrUnderOrOver) {
  const std::vector<double> values = {-1, 0, 0.01, 1, 100, NAN, INFINITY};
  const ColourScale log = colourScaleOf(values.data(), 7, ColourOptions{true, false, 0, 0});
  const ColourScale limited = colourScaleOf(values.data(), 7, ColourOptions{false, true, 0, 10});
  const ColourScale both = colourScaleOf(values.data(), 7, ColourOptions{true, true, 0.1, 10});
  EXPECT_EQ(log.low, 0.01);  // the smallest value above zero
  EXPECT_EQ(log.high, 100);
  EXPECT_DOUBLE_EQ(rampPlace(log, 1), 0.5);
  EXPECT_EQ(limited.low, 0);
  EXPECT_EQ(limited.high, 10);
  const ColourClass R = ColourClass::Ramp, U = ColourClass::Under, O = ColourClass::Over,
                    N = ColourClass::NaN;
  struct Case {
    double value;
    ColourClass log, limited, both;
  };
  const Case cases[] = {
      {-INFINITY, U, U, U}, {-1, U, U, U},  {0, U, R, U},        {0.01, R, R, U}, {0.1, R, R, R},
      {10, R, R, R},        {100, R, O, O}, {INFINITY, R, O, O}, {NAN, N, N, N},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(colourClassOf(log, c.value), c.log) << c.value;
    EXPECT_EQ(colourClassOf(limited, c.value), c.limited) << c.value;
    EXPECT_EQ(colourClassOf(both, c.value), c.both) << c.value;
  }
  EXPECT_EQ(scaleColour(both, 0), kUnderColour);
  EXPECT_EQ(scaleColour(both, 1e6), kOverColour);
  EXPECT_EQ(scaleColour(log, INFINITY), rampColour(1));
  for (Rgb beyond : {kUnderColour, kOverColour}) {
    EXPECT_NE(beyond, kNanColour);
    for (int step = 0; step <= 100; ++step) EXPECT_NE(beyond, rampColour(step / 100.0));
  }
}

}  // namespace
