#include "view/scene/colour_scale.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

struct RampStop {
  double t;
  Rgb colour;
};

// Dark blue through blue-green and green to yellow, lightness rising all the way, so
// that order reads at a glance and survives a grey-scale print.
constexpr RampStop kRamp[] = {
    {0.000, {68, 1, 84}},    {0.125, {72, 40, 120}},  {0.250, {62, 74, 137}},
    {0.375, {49, 104, 142}}, {0.500, {38, 130, 142}}, {0.625, {31, 158, 137}},
    {0.750, {53, 183, 121}}, {0.875, {109, 205, 89}}, {0.9375, {180, 222, 44}},
    {1.000, {253, 231, 37}},
};

uint8_t blend(uint8_t a, uint8_t b, double f) {
  return static_cast<uint8_t>(std::lround(a + (b - a) * f));
}

}  // namespace

ColourScale colourScaleOf(const double* values, int64_t count, const ColourOptions& options) {
  ColourScale scale;
  scale.logarithmic = options.logarithmic;
  if (options.limited) {
    scale.low = options.low;
    scale.high = options.high;
    scale.hasValues = true;
    scale.limited = true;
    return scale;
  }
  for (int64_t i = 0; i < count; ++i) {
    const double v = values[i];
    if (!std::isfinite(v) || (options.logarithmic && !(v > 0))) continue;
    if (!scale.hasValues) {
      scale.low = scale.high = v;
      scale.hasValues = true;
    } else {
      scale.low = std::min(scale.low, v);
      scale.high = std::max(scale.high, v);
    }
  }
  // Both zeros print alike; keep the scale's ends free of a stray minus sign.
  if (scale.low == 0) scale.low = 0;
  if (scale.high == 0) scale.high = 0;
  return scale;
}

ColourClass colourClassOf(const ColourScale& scale, double value) {
  if (std::isnan(value)) return ColourClass::NaN;
  if (scale.limited) {
    if (value < scale.low) return ColourClass::Under;
    if (value > scale.high) return ColourClass::Over;
  }
  if (scale.logarithmic && !(value > 0)) return ColourClass::Under;
  return ColourClass::Ramp;
}

Rgb rampColour(double t) {
  t = std::clamp(t, 0.0, 1.0);
  for (size_t i = 1; i < std::size(kRamp); ++i) {
    if (t <= kRamp[i].t) {
      const RampStop& a = kRamp[i - 1];
      const RampStop& b = kRamp[i];
      const double f = (t - a.t) / (b.t - a.t);
      return Rgb{blend(a.colour.r, b.colour.r, f), blend(a.colour.g, b.colour.g, f),
                 blend(a.colour.b, b.colour.b, f)};
    }
  }
  return kRamp[std::size(kRamp) - 1].colour;
}

double rampPlace(const ColourScale& scale, double value) {
  if (value == INFINITY) return 1;
  if (value == -INFINITY) return 0;
  if (!scale.hasValues || scale.high == scale.low) return 0.5;
  double t = 0;
  if (scale.logarithmic) {
    const double low = std::log(scale.low);
    t = (std::log(value) - low) / (std::log(scale.high) - low);
  } else {
    // Halved, so that the span of two huge values of opposite sign cannot overflow.
    t = (value / 2 - scale.low / 2) / (scale.high / 2 - scale.low / 2);
  }
  return std::clamp(t, 0.0, 1.0);
}

Rgb scaleColour(const ColourScale& scale, double value) {
  switch (colourClassOf(scale, value)) {
    case ColourClass::NaN:
      return kNanColour;
    case ColourClass::Under:
      return kUnderColour;
    case ColourClass::Over:
      return kOverColour;
    case ColourClass::Ramp:
      break;
  }
  return rampColour(rampPlace(scale, value));
}
