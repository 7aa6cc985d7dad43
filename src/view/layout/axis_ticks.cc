#include "view/layout/axis_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// The slack that lets a bound that is itself round count as inside.
constexpr double kSlack = 1e-9;

// Decimals that show `step` itself: 0.02 needs two, 2.5 needs one, 200 none; more than
// 17 when it has no short decimal form.
int decimalsOf(double step) {
  int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + kSlack)));
  while (decimals <= 17) {
    const double scaled = step * std::pow(10.0, decimals);
    if (std::fabs(scaled - std::round(scaled)) <= scaled * kSlack) break;
    ++decimals;
  }
  return decimals;
}

std::string printed(const char* format, int precision, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, precision, value);
  return text;
}

}  // namespace

std::vector<double> ticksAtStep(double low, double high, double step) {
  std::vector<double> ticks;
  if (!(high > low) || !std::isfinite(high - low) || !(step > 0) || !std::isfinite(step)) {
    return ticks;
  }
  // Whole multiples of the step, each formed afresh so that no rounding accumulates.
  const double first = std::ceil(low / step - kSlack);
  const double last = std::floor(high / step + kSlack);
  for (double n = first; n <= last; ++n) {
    const double value = n * step;
    ticks.push_back(std::fabs(value) < step * kSlack ? 0.0 : value);
  }
  return ticks;
}

std::vector<double> niceTicks(double low, double high, int maxCount, double& step) {
  step = 0;
  const double span = high - low;
  if (!(span > 0) || !std::isfinite(span) || maxCount < 1) return {};
  const double rough = span / maxCount;
  const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
  const double scaled = rough / magnitude;
  step = (scaled <= 1 ? 1 : scaled <= 2 ? 2 : scaled <= 5 ? 5 : 10) * magnitude;
  return ticksAtStep(low, high, step);
}

std::vector<double> roundSteps(double low, double high, int fewest, double finest) {
  std::vector<double> steps;
  const double span = high - low;
  if (!(span > 0) || !std::isfinite(span) || !(finest > 0)) return steps;
  // From the first round step at or above the span, which leaves at most two marks,
  // down the sequence 10, 5, 2, 1, 0.5 ... times the power of ten.
  double magnitude = std::pow(10.0, std::ceil(std::log10(span)));
  const double multiples[] = {1, 0.5, 0.2};
  for (int n = 0; n < 64; ++n) {
    const double step = multiples[n % 3] * magnitude;
    if (n % 3 == 2) magnitude /= 10;
    if (step < finest * (1 - kSlack)) break;
    const double count = std::floor(high / step + kSlack) - std::ceil(low / step - kSlack) + 1;
    if (count >= fewest) steps.push_back(step);
  }
  return steps;
}

std::vector<double> logTicks(double low, double high, int maxCount, LogMarks& marks, double& step) {
  std::vector<double> ticks;
  marks = LogMarks::Decades;
  step = 0;
  if (!(low > 0) || !(high > low) || !std::isfinite(high) || maxCount < 1) return ticks;
  const double first = std::ceil(std::log10(low) - kSlack);
  const double last = std::floor(std::log10(high) + kSlack);
  if (last > first) {
    for (double power = first; power <= last; ++power) ticks.push_back(std::pow(10.0, power));
    return ticks;
  }
  for (double power = first - 1; power <= last; ++power) {
    for (double multiple : {1.0, 2.0, 5.0}) {
      const double value = multiple * std::pow(10.0, power);
      if (value >= low * (1 - kSlack) && value <= high * (1 + kSlack)) ticks.push_back(value);
    }
  }
  marks = LogMarks::Multiples;
  if (ticks.size() >= 2 && static_cast<int>(ticks.size()) <= maxCount) return ticks;
  marks = LogMarks::Even;
  return niceTicks(low, high, maxCount, step);
}

std::vector<std::string> tickTexts(const std::vector<double>& values, double step) {
  std::vector<std::string> texts;
  if (values.empty() || !(step > 0)) return texts;
  double largest = 0;
  for (double v : values) largest = std::max(largest, std::fabs(v));
  const int decimals = decimalsOf(step);
  const bool plain = decimals <= 6 && largest < 1e9;
  // In exponent form every mantissa takes the decimals the step needs beside the largest.
  const int exponent = largest > 0 ? static_cast<int>(std::floor(std::log10(largest))) : 0;
  const int mantissaDecimals = std::clamp(decimalsOf(step / std::pow(10.0, exponent)), 0, 16);
  for (double v : values) {
    if (std::fabs(v) < step * kSlack) v = 0;  // never -0
    if (plain) {
      texts.push_back(printed("%.*f", decimals, v));
    } else {
      texts.push_back(printed("%.*e", mantissaDecimals, v));
    }
  }
  return texts;
}

std::vector<std::string> logTickTexts(const std::vector<double>& values) {
  std::vector<std::string> texts;
  bool plain = true;
  for (double v : values) plain = plain && v >= 1e-4 * (1 - kSlack) && v <= 1e6 * (1 + kSlack);
  for (double v : values) {
    if (plain) {
      // As many decimals as the value's own leading digit needs: 0.02 two, 200 none.
      const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(v) + kSlack)));
      texts.push_back(printed("%.*f", decimals, v));
    } else {
      texts.push_back(printed("%.*e", 0, v));
    }
  }
  return texts;
}

std::string formatValue(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char text[64];
  std::snprintf(text, sizeof text, "%.4g", value == 0 ? 0.0 : value);
  return text;
}
