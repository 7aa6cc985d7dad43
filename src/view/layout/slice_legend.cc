#include "view/layout/slice_legend.h"

#include <algorithm>
#include <cmath>

#include "view/layout/axis_ticks.h"

namespace {

constexpr int kMostLegendSteps = 7;  // steps between marks, so at most eight labels

}  // namespace

std::vector<LegendTick> legendTicks(const ColourScale& scale, double barLength, double room) {
  std::vector<LegendTick> ticks;
  if (!scale.hasValues) return ticks;
  if (!(scale.high > scale.low)) {
    ticks.push_back({0.5, formatValue(scale.low)});
    return ticks;
  }
  // At most about eight labels, however long the bar: each step of the scale is then a
  // fair share of its range.
  const int count = std::clamp(static_cast<int>(barLength / (1.5 * room)), 2, kMostLegendSteps);
  double step = 0;
  std::vector<double> values;
  std::vector<std::string> texts;
  int every = 1;
  if (scale.logarithmic) {
    LogMarks marks = LogMarks::Decades;
    values = logTicks(scale.low, scale.high, count, marks, step);
    texts = marks == LogMarks::Even ? tickTexts(values, step) : logTickTexts(values);
    // Every power of ten is marked; where they are too many to label, every few are.
    if (marks == LogMarks::Decades) {
      every = static_cast<int>(std::ceil(static_cast<double>(values.size()) / count));
    }
  } else {
    values = niceTicks(scale.low, scale.high, count, step);
    texts = tickTexts(values, step);
  }
  for (size_t i = 0; i < values.size(); ++i) {
    const std::string text = i % static_cast<size_t>(every) == 0 ? texts[i] : "";
    ticks.push_back({rampPlace(scale, values[i]), text});
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
