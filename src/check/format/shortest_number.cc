#include "check/format/shortest_number.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr double kExactPowers[] = {1e0, 1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,
                                   1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17};
constexpr int kMostDecimals = 17;

// Scaled magnitudes below this are served by the fast form: a double's rounding interval is
// then under a quarter of a unit wide once scaled, so at most one integer lies in it, and
// the scaled value, within an eighth of a unit of the exact one, has it as its nearest.
constexpr double kScaledBound = 1125899906842624.0;  // 2^50

// Adding and taking away 2^52 rounds a value in [0, 2^51) to its nearest integer.
constexpr double kRoundingShift = 4503599627370496.0;  // 2^52

// 10^0 to 10^18.
constexpr std::array<uint64_t, 19> kPowersOfTen = [] {
  std::array<uint64_t, 19> powers{};
  uint64_t power = 1;
  for (uint64_t& entry : powers) {
    entry = power;
    power *= 10;
  }
  return powers;
}();

// Digits of `value` (1 to 2^63): from the count of its bits, which gives the count of
// digits or one more, with no division.
int digitCount(uint64_t value) {
  const int estimate = (std::bit_width(value | 1) * 1233) >> 12;  // log10(2) ~ 1233 / 4096
  return estimate + 1 - static_cast<int>(value < kPowersOfTen[estimate]);
}

// Writes the `count` digits of `value` (which has no more) ending at `end`, two at a time.
void writeDigits(uint64_t value, int count, char* end) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  for (; count >= 2; count -= 2, value /= 100) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * (value % 100), 2);
  }
  if (count == 1) end[-1] = static_cast<char>('0' + value % 10);
}

// The shortest text of a finite, non-zero `magnitude` when it is a decimal of few digits
// written plainly, as most coordinates and values of a block file are. The fewest decimals
// d with which the decimal m / 10^d nearest the magnitude reads back as it give its fewest
// significant digits, and m is then the only such decimal: the one the shortest form holds.
// With m below 2^53 and an exact power of ten, one division gives the double that decimal
// reads back as. Written in plain form when `always`, or when that is no longer than the
// exponent form. Returns 0, having written nothing, when the magnitude needs more digits or
// the exponent form is shorter: the library's shortest conversion then decides.
size_t plainDecimalText(double magnitude, bool negative, bool always, char* out) {
  for (int d = 0; d <= kMostDecimals; ++d) {
    const double scaled = magnitude * kExactPowers[d];
    if (!(scaled < kScaledBound)) return 0;
    const double nearest = (scaled + kRoundingShift) - kRoundingShift;
    if (nearest / kExactPowers[d] != magnitude) continue;
    uint64_t m = static_cast<uint64_t>(nearest);
    if (m == 0) return 0;
    // Significant digits: those of m less the zeros that end it, which the exponent form
    // drops; the plain form keeps them when d is 0.
    const int digits = digitCount(m);
    int trailingZeros = 0;
    for (uint64_t rest = m; rest % 10 == 0; rest /= 10) ++trailingZeros;
    const int significant = digits - trailingZeros;
    const int exponent = digits - 1 - d;  // of the leading digit
    const int exponentLength = exponent <= -100 || exponent >= 100 ? 5 : 4;
    const int scientificLength = 1 + (significant > 1 ? significant : 0) + exponentLength;
    // The digits written: a fraction below 1 has its leading zero.
    const int length = d == 0 ? digits : std::max(digits, d + 1);
    const int plainLength = length + static_cast<int>(d > 0);
    if (!always && plainLength > scientificLength) return 0;
    // The whole digits and the decimals are written in place, on either side of the
    // point, with no copy of variable length.
    char* at = out;
    if (negative) *at++ = '-';
    const int whole = length - d;
    if (d == 0) {
      writeDigits(m, whole, at + whole);
      return static_cast<size_t>(at + whole - out);
    }
    writeDigits(m / kPowersOfTen[d], whole, at + whole);
    at[whole] = '.';
    writeDigits(m % kPowersOfTen[d], d, at + whole + 1 + d);
    return static_cast<size_t>(at + whole + 1 + d - out);
  }
  return 0;
}

}  // namespace

size_t numberText(double value, char* out) {
  const char* word = nullptr;
  if (std::isnan(value)) word = "NaN";
  if (std::isinf(value)) word = value < 0 ? "-Infinity" : "Infinity";
  if (word != nullptr) {
    const size_t length = std::strlen(word);
    std::memcpy(out, word, length);
    return length;
  }
  if (value != 0) {
    const size_t plain = plainDecimalText(std::fabs(value), value < 0, false, out);
    if (plain > 0) return plain;
  }
  // The shortest form of a double is at most 24 characters ("-2.2250738585072014e-308").
  return static_cast<size_t>(std::to_chars(out, out + kNumberTextBytes, value).ptr - out);
}

size_t plainNumberText(double value, char* out) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= kLeastPlain && magnitude < kMostPlain)) return numberText(value, out);
  const size_t plain = plainDecimalText(magnitude, value < 0, true, out);
  if (plain > 0) return plain;
  // In this range the plain form has at most 15 whole digits, or 4 zeros after the point
  // and 17 significant digits.
  return static_cast<size_t>(
      std::to_chars(out, out + kNumberTextBytes, value, std::chars_format::fixed).ptr - out);
}

size_t integerText(int64_t value, char* out) {
  return static_cast<size_t>(std::to_chars(out, out + kNumberTextBytes, value).ptr - out);
}

void appendNumber(std::string& text, double value) {
  char digits[kNumberTextBytes];
  text.append(digits, numberText(value, digits));
}

void appendPlainNumber(std::string& text, double value) {
  char digits[kNumberTextBytes];
  text.append(digits, plainNumberText(value, digits));
}

void appendInteger(std::string& text, int64_t value) {
  char digits[kNumberTextBytes];
  text.append(digits, integerText(value, digits));
}

void appendCounts(std::string& text, int64_t a, int64_t b, int64_t c) {
  appendInteger(text, a);
  text.append(" x ");
  appendInteger(text, b);
  text.append(" x ");
  appendInteger(text, c);
}

bool isNonFinite(double value) {
  return !std::isfinite(value);
}
