#include "view/axis_ticks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

std::vector<double> niceTicks(double low, double high, int maxCount, double& step) {
  std::vector<double> ticks;
  step = 0;
  const double span = high - low;
  if (!(span > 0) || !std::isfinite(span) || maxCount < 1) return ticks;
  const double rough = span / maxCount;
  const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
  const double scaled = rough / magnitude;
  step = (scaled <= 1 ? 1 : scaled <= 2 ? 2 : scaled <= 5 ? 5 : 10) * magnitude;
  // Whole multiples of the step, each formed afresh so that no rounding accumulates;
  // the slack lets a bound that is itself round count as inside.
  const double slack = 1e-9;
  const double first = std::ceil(low / step - slack);
  const double last = std::floor(high / step + slack);
  for (double n = first; n <= last; ++n) {
    const double value = n * step;
    ticks.push_back(std::fabs(value) < step * slack ? 0.0 : value);
  }
  return ticks;
}

std::vector<double> logTicks(double low, double high, int maxCount) {
  std::vector<double> ticks;
  if (!(low > 0) || !(high > low) || !std::isfinite(high) || maxCount < 1) return ticks;
  // The slack lets a bound that is itself a power of ten count as inside.
  const double first = std::ceil(std::log10(low) - 1e-9);
  const double last = std::floor(std::log10(high) + 1e-9);
  if (last - first + 1 < 2) {
    // Within about a decade: 1, 2 and 5 times the powers of ten, where two or more of
    // them fit, otherwise round values evenly spaced.
    for (double power = first - 1; power <= last; ++power) {
      for (double multiple : {1.0, 2.0, 5.0}) {
        const double value = multiple * std::pow(10.0, power);
        if (value >= low * (1 - 1e-9) && value <= high * (1 + 1e-9)) ticks.push_back(value);
      }
    }
    if (ticks.size() >= 2 && static_cast<int>(ticks.size()) <= maxCount) return ticks;
    double step = 0;
    return niceTicks(low, high, maxCount, step);
  }
  const double every = std::ceil((last - first + 1) / maxCount);
  for (double power = first; power <= last; power += every) ticks.push_back(std::pow(10.0, power));
  return ticks;
}

std::string formatTick(double value, double step) {
  char text[64];
  // Enough decimals to show the step itself: 0.02 needs two, 2.5 needs one.
  int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
  while (decimals <= 6) {
    const double scaled = step * std::pow(10.0, decimals);
    if (std::fabs(scaled - std::round(scaled)) <= scaled * 1e-9) break;
    ++decimals;
  }
  if (decimals > 6 || std::fabs(value) >= 1e9) {
    std::snprintf(text, sizeof text, "%.6g", value);
  } else {
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
  }
  // A value that rounds to zero prints as a plain 0, never as -0 or 0.00.
  if (std::strspn(text, "-0.") == std::strlen(text)) return "0";
  return text;
}

std::string formatValue(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char text[64];
  std::snprintf(text, sizeof text, "%.4g", value == 0 ? 0.0 : value);
  return text;
}
