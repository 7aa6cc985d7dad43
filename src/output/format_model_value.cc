#include "output/format_model_value.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;

// The magnitude times 10^power in one rounded operation, for |power| up to 22, where the
// power of ten is itself exact.
double scaled(double magnitude, int power) {
  return power >= 0 ? magnitude * kExactPowers[power] : magnitude / kExactPowers[-power];
}

// Writes " d.dddE+dd" for the four kept digits and a decimal exponent of at most two
// digits, with the sign `lead` in front.
void writeText(char lead, int kept, int exponent, char out[kModelValueWidth]) {
  out[0] = lead;
  out[1] = static_cast<char>('0' + kept / 1000);
  out[2] = '.';
  out[3] = static_cast<char>('0' + kept / 100 % 10);
  out[4] = static_cast<char>('0' + kept / 10 % 10);
  out[5] = static_cast<char>('0' + kept % 10);
  out[6] = 'E';
  out[7] = exponent < 0 ? '-' : '+';
  const int size = exponent < 0 ? -exponent : exponent;
  out[8] = static_cast<char>('0' + size / 10);
  out[9] = static_cast<char>('0' + size % 10);
}

// The text of a finite magnitude whose decimal exponent is small, where the four kept
// digits come from one rounded product: the magnitude scaled to [1000, 10000). The product
// lies within half a unit in its last place of the exact scaled value, and every half
// (k + 0.5) there is a double, so the product lies on the same side of each half as the
// exact value, or on the half itself. False, with nothing written, for a product that is
// a half, for subnormals and for exponents beyond the exact powers of ten: the library's
// exact conversion takes those.
bool formatNearOne(double magnitude, char lead, char out[kModelValueWidth]) {
  const int biased = static_cast<int>(std::bit_cast<uint64_t>(magnitude) >> 52);
  if (biased == 0) return false;
  // floor(binary exponent * log10(2)), exact over the binary exponents of doubles: the
  // magnitude is at least 10^exponent, so the scaled value is at least 1000 (rounding
  // never takes a product below a representable bound it lies above), and below 20000.
  int exponent = ((biased - 1023) * 78913) >> 18;
  if (exponent < 3 - kLargestExactPower || exponent > 3 + kLargestExactPower) return false;
  double digits = scaled(magnitude, 3 - exponent);
  if (digits >= 10000.0) {
    if (++exponent > 3 + kLargestExactPower) return false;
    digits = scaled(magnitude, 3 - exponent);
  }
  const double whole = std::floor(digits);
  const double fraction = digits - whole;
  if (fraction == 0.5) return false;
  int kept = static_cast<int>(whole) + static_cast<int>(fraction > 0.5);
  if (kept == 10000) {
    kept = 1000;
    ++exponent;
  }
  writeText(lead, kept, exponent, out);
  return true;
}

}  // namespace

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
  if (formatNearOne(magnitude, negative ? '-' : ' ', out)) return;

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
