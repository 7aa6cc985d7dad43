// Colours for cell values: a perceptually even ramp from dark blue to yellow between two
// values, linear or logarithmic; grey for NaN, and colours of their own for values the
// ramp does not reach ("under" and "over").
#pragma once

#include <cstdint>

#include "view/scene/rgb_image.h"

/// The colour of a NaN cell.
constexpr Rgb kNanColour{160, 160, 160};

/// The colour of a cell below the low limit, or at or below zero on a logarithmic scale.
constexpr Rgb kUnderColour{230, 130, 200};

/// The colour of a cell above the high limit.
constexpr Rgb kOverColour{215, 55, 30};

/// How the ramp is to be laid over the values, as the command line asks.
struct ColourOptions {
  bool logarithmic = false;  // place values by their logarithm
  bool limited = false;      // the ends are `low` and `high`, not the model's extremes
  double low = 0;            // with `limited`: finite, below `high`, above 0 if logarithmic
  double high = 0;
};

/// The values that the two ends of the ramp stand for, and how values between them are placed.
struct ColourScale {
  double low = 0;
  double high = 0;
  bool hasValues = false;    // false when no value can be placed on the ramp
  bool logarithmic = false;  // values at or below zero are under
  bool limited = false;      // values beyond low and high are under and over
};

/// Where a value falls on a scale.
enum class ColourClass { Ramp, Under, Over, NaN };

/// The scale of `options` over `count` values: with limits, those; otherwise the
/// smallest and largest finite values (finite values above zero when logarithmic).
ColourScale colourScaleOf(const double* values, int64_t count, const ColourOptions& options = {});

/// Where `value` falls: NaN; under below a low limit, or at or below zero when
/// logarithmic; over above a high limit; otherwise on the ramp.
ColourClass colourClassOf(const ColourScale& scale, double value);

/// The ramp colour at `t`, from 0 (dark blue) to 1 (yellow); `t` is clamped to that range.
Rgb rampColour(double t);

/// Where `value` lies on the ramp, 0 to 1: its place between low and high, by value or
/// by logarithm; 0.5 when low equals high; infinities at the end they lie beyond. For
/// values on the ramp only.
double rampPlace(const ColourScale& scale, double value);

/// The colour of a cell holding `value`.
Rgb scaleColour(const ColourScale& scale, double value);
