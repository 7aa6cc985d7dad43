#include "view/coordinate_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string coordinateText(double value, int digits) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  if (value == 0) return "0";
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
  // The exponent of the value as rounded, which may be one above the unrounded one.
  const int exponent = std::atoi(std::strchr(text, 'e') + 1);
  if (exponent >= -4 && exponent < 15) {
    std::snprintf(text, sizeof text, "%.*f", std::max(0, digits - 1 - exponent), value);
  }
  // Zeros that end the decimals say nothing: "6105250.00000000" is "6105250".
  std::string result = text;
  const size_t point = result.find('.');
  if (point != std::string::npos) {
    const size_t mantissaEnd = std::min(result.find('e'), result.size());
    size_t cut = result.find_last_not_of('0', mantissaEnd - 1);
    if (cut == point) --cut;
    result.erase(cut + 1, mantissaEnd - cut - 1);
  }
  return result;
}

int shortestDigits(double value) {
  if (!std::isfinite(value) || value == 0) return 1;
  for (int digits = 1; digits < 15; ++digits) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    if (std::strtod(text, nullptr) == value) return digits;
  }
  return 15;
}

std::vector<std::string> distinctCoordinateTexts(const std::vector<double>& values) {
  std::vector<int> digits;
  for (double v : values) digits.push_back(shortestDigits(v));
  for (size_t i = 1; i < values.size(); ++i) {
    if (values[i] != values[i - 1] &&
        coordinateText(values[i], digits[i]) == coordinateText(values[i - 1], digits[i - 1])) {
      digits[i] = digits[i - 1] = 17;
    }
  }
  std::vector<std::string> texts;
  for (size_t i = 0; i < values.size(); ++i) texts.push_back(coordinateText(values[i], digits[i]));
  return texts;
}
