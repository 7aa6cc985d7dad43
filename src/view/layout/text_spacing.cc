#include "view/layout/text_spacing.h"

#include <algorithm>
#include <cmath>

TextSpacing textSpacing(double size, const TextMetrics& metrics) {
  TextSpacing s;
  s.size = size;
  s.cap = static_cast<int>(std::lround(metrics.capHeight * size));
  s.descent = static_cast<int>(std::ceil(metrics.descent * size));
  s.gap = std::max(2, static_cast<int>(std::lround(size * 0.4)));
  s.tick = s.gap;
  s.margin = static_cast<int>(std::lround(size));
  s.line = s.cap + 2 * s.gap;
  s.bar = static_cast<int>(std::lround(size * 1.6));
  s.swatch = s.cap + s.gap;
  return s;
}
