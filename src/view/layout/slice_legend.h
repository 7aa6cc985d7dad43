// What the colour legend of a picture shows: labelled places along the colour bar, and
// swatches for the cells that the bar does not hold (NaN, under, over).
#pragma once

#include <string>
#include <vector>

#include "view/scene/colour_scale.h"

/// A mark of the colour bar, with its label.
struct LegendTick {
  double place = 0;  // 0 bottom .. 1 top of the bar
  std::string text;  // empty: a mark without a label
};

/// A colour outside the bar, with what it stands for.
struct LegendSwatch {
  ColourClass kind = ColourClass::NaN;
  Rgb colour;
  std::string text;  // "NaN", "below 0.01", "0 or below", "above 1000"
};

/// The marks of a bar `barLength` units long whose labels need `room` units each, with
/// room between them: round values 1, 2 or 5 times a power of ten apart on a linear
/// scale; every power of ten on a logarithmic one (labelled every few where they are
/// too many), or round values within about a decade; all texts in one form. One label in
/// the middle when the ends are equal; none when the scale has no values.
std::vector<LegendTick> legendTicks(const ColourScale& scale, double barLength, double room);

/// The swatches that `values` need under `scale`: over first, then under, then NaN.
std::vector<LegendSwatch> legendSwatches(const ColourScale& scale,
                                         const std::vector<double>& values);
