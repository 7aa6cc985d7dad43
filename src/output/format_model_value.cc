#include "output/format_model_value.h"

#include <charconv>
#include <cmath>
#include <cstring>

void formatModelValue(double value, char out[kModelValueWidth]) {
  if (std::isnan(value)) {
    std::memcpy(out, "       NaN", kModelValueWidth);
    return;
  }
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);
  if (std::isinf(magnitude)) {
    std::memcpy(out, negative ? " -Infinity" : "  Infinity", kModelValueWidth);
    return;
  }
  if (magnitude == 0.0) {
    std::memcpy(out, " 0.000E+00", kModelValueWidth);
    return;
  }

  // The library rounds the exact binary value to 4 significant digits, ties to even, and
  // carries into the exponent itself: "d.ddde+dd" for |exponent| <= 99, "d.ddde+ddd" above.
  char digits[16];
  const std::to_chars_result result =
      std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::scientific, 3);

  // Every finite non-zero text is 9 characters, so a positive value gets exactly one blank.
  out[0] = negative ? '-' : ' ';
  std::memcpy(out + 1, digits, 5);
  if (result.ptr - digits == 9) {
    out[6] = 'E';
    std::memcpy(out + 7, digits + 6, 3);
  } else {
    // A three-digit exponent takes the place of the letter.
    std::memcpy(out + 6, digits + 6, 4);
  }
}
