#include "view/slice_legend.h"

#include <algorithm>

#include "view/axis_ticks.h"

std::vector<LegendTick> legendTicks(const ColourScale& scale, double barLength, double room) {
  std::vector<LegendTick> ticks;
  if (!scale.hasValues) return ticks;
  if (!(scale.high > scale.low)) {
    ticks.push_back({0.5, formatValue(scale.low)});
    return ticks;
  }
  ticks.push_back({0, formatValue(scale.low)});
  ticks.push_back({1, formatValue(scale.high)});
  const int count = std::max(2, static_cast<int>(barLength / 50));
  double step = 0;
  const std::vector<double> between = scale.logarithmic
                                          ? logTicks(scale.low, scale.high, count)
                                          : niceTicks(scale.low, scale.high, count, step);
  // Values too near an end would print over its label.
  const double margin = room / barLength;
  for (double value : between) {
    const double place = rampPlace(scale, value);
    if (place > margin && place < 1 - margin) {
      ticks.push_back({place, scale.logarithmic ? formatValue(value) : formatTick(value, step)});
    }
  }
  return ticks;
}

std::vector<LegendSwatch> legendSwatches(const ColourScale& scale,
                                         const std::vector<double>& values) {
  bool seen[4] = {};
  for (double v : values) seen[static_cast<int>(colourClassOf(scale, v))] = true;
  std::vector<LegendSwatch> swatches;
  if (seen[static_cast<int>(ColourClass::Over)]) {
    swatches.push_back({ColourClass::Over, kOverColour, "above " + formatValue(scale.high)});
  }
  if (seen[static_cast<int>(ColourClass::Under)]) {
    swatches.push_back({ColourClass::Under, kUnderColour,
                        scale.limited ? "below " + formatValue(scale.low) : "0 or below"});
  }
  if (seen[static_cast<int>(ColourClass::NaN)]) {
    swatches.push_back({ColourClass::NaN, kNanColour, "NaN"});
  }
  return swatches;
}
