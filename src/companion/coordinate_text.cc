#include "companion/coordinate_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

// The decimal exponent of `value`'s leading digit (2 for 689.3).
int leadingExponent(double value) {
  return static_cast<int>(std::floor(std::log10(std::fabs(value))));
}

// Significant digits that show `value` down to `step`; 0 when it lies below the step.
int digitsDownTo(double value, double step) {
  if (step <= 0) return kReadableDigits;
  return std::clamp(leadingExponent(value) - leadingExponent(step) + 1, 0, 17);
}

// 10 to the power `exponent`, the double nearest it: powers up to 10^22 are exact, and a
// quotient by one is rounded correctly, which not every system's pow does.
double powerOfTen(int exponent) {
  if (exponent < -22 || exponent > 22) return std::pow(10.0, exponent);
  double power = 1;
  for (int i = 0; i < (exponent < 0 ? -exponent : exponent); ++i) power *= 10;
  return exponent < 0 ? 1 / power : power;
}

}  // namespace

std::string decimalText(double value, int digits) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  if (value == 0) return "0";
  // The library's conversions round correctly, as printf's do, at a fraction of the cost:
  // a report may show millions of coordinates.
  char text[400];
  char* end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, digits - 1).ptr;
  // The exponent of the value as rounded, which may be one above the unrounded one.
  int exponent = 0;
  const char* e = std::find(text, end, 'e');
  std::from_chars(e + 1 + static_cast<int>(e[1] == '+'), end, exponent);
  if (exponent >= -4 && exponent < 15) {
    end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed,
                        std::max(0, digits - 1 - exponent))
              .ptr;
  }
  // Zeros that end the decimals say nothing: "6105250.00000000" is "6105250".
  std::string result(text, end);
  const size_t point = result.find('.');
  if (point != std::string::npos) {
    const size_t mantissaEnd = std::min(result.find('e'), result.size());
    size_t cut = result.find_last_not_of('0', mantissaEnd - 1);
    if (cut == point) --cut;
    result.erase(cut + 1, mantissaEnd - cut - 1);
  }
  return result;
}

double coordinateStep(const double* nodes, int32_t count) {
  double largest = 0;
  for (int32_t k = 0; k < count; ++k) {
    if (std::isfinite(nodes[k])) largest = std::max(largest, std::fabs(nodes[k]));
  }
  if (largest == 0) return 0;
  return powerOfTen(leadingExponent(largest) - (kReadableDigits - 1));
}

std::string steppedText(double value, double step) {
  if (!std::isfinite(value) || value == 0) return decimalText(value, 1);
  // Rounding may carry into a new leading digit (0.99999 to 1), which needs no more.
  const int digits = digitsDownTo(value, step);
  if (digits == 0)
    return std::fabs(value) < step / 2 ? "0" : decimalText(std::copysign(step, value), 1);
  return decimalText(value, digits);
}

std::string nodeText(const double* nodes, int32_t count, int32_t index, double step) {
  const double value = nodes[index];
  std::string text = steppedText(value, step);
  if (!std::isfinite(value)) return text;
  for (int digits = std::max(digitsDownTo(value, step), 1);; ++digits) {
    double read = 0;
    std::from_chars(text.data(), text.data() + text.size(), read);
    bool nearest = true;
    for (const int32_t beside : {index - 1, index + 1}) {
      if (beside < 0 || beside >= count) continue;
      const double other = nodes[beside];
      if (std::isnan(other) || other == value) continue;
      if (!(std::fabs(read - value) < std::fabs(read - other))) nearest = false;
    }
    if (nearest || digits >= 17) return text;
    text = decimalText(value, digits + 1);
  }
}
