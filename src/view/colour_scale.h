// Colours for cell values: a perceptually even ramp from dark blue to yellow over the
// finite values of the model, and grey for NaN.
#pragma once

#include <cstdint>

#include "view/rgb_image.h"

/// The colour of a NaN cell.
constexpr Rgb kNanColour{160, 160, 160};

/// The values that the two ends of the ramp stand for.
struct ColourScale {
  double low = 0;
  double high = 0;
  bool hasValues = false;  // false when no value is finite
};

/// The scale over the smallest and largest finite of `count` values.
ColourScale colourScaleOf(const double* values, int64_t count);

/// The ramp colour at `t`, from 0 (dark blue) to 1 (yellow); `t` is clamped to that range.
Rgb rampColour(double t);

/// Where `value` lies on the ramp, 0 to 1: its place between low and high; 0.5 when
/// low equals high; infinities at the end they lie beyond. Not for NaN.
double rampPlace(const ColourScale& scale, double value);

/// The colour of a cell holding `value`.
Rgb scaleColour(const ColourScale& scale, double value);
