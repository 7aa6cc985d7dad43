#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "freeform/number_conversion.h"
#include "freeform/number_text.h"

namespace {

// Significant digits kept exactly; every later digit only tells whether it is zero.
constexpr int kKeptDigits = 27;
// An exponent with this many significant digits is out of range whatever the mantissa.
constexpr int kExponentDigitLimit = 7;

char lowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isExponentLetter(char c) {
  char lower = lowerAscii(c);
  return lower == 'e' || lower == 'd' || lower == 'q';
}

// True when the `count` bytes at `p` spell `word` (lower case) in either case.
bool spells(const char* p, size_t count, const char* word) {
  for (size_t i = 0; i < count; ++i) {
    if (word[i] == '\0' || lowerAscii(p[i]) != word[i]) return false;
  }
  return word[count] == '\0';
}

bool isNanPayloadByte(char c) {
  return isDecimalDigit(c) || (lowerAscii(c) >= 'a' && lowerAscii(c) <= 'z') || c == '_';
}

double signedZero(bool negative) {
  return negative ? -0.0 : 0.0;
}

// INF, INFINITY and NAN with an optional parenthesised payload; `p` is just after the
// sign. Anything else that begins with I or N is no number at all.
ConversionStatus parseSpecialWord(const char* p, const char* end, bool negative, double& value) {
  const size_t count = static_cast<size_t>(end - p);
  if (spells(p, count, "inf") || spells(p, count, "infinity")) {
    value = negative ? -std::numeric_limits<double>::infinity()
                     : std::numeric_limits<double>::infinity();
    return ConversionStatus::Ok;
  }
  if (count >= 3 && spells(p, 3, "nan")) {
    const char* q = p + 3;
    if (q < end && *q == '(') {
      ++q;
      while (q < end && isNanPayloadByte(*q)) ++q;
      if (q == end || *q != ')') return ConversionStatus::LeftoverText;
      ++q;
    }
    if (q != end) return ConversionStatus::LeftoverText;
    value = std::copysign(std::numeric_limits<double>::quiet_NaN(), negative ? -1.0 : 1.0);
    return ConversionStatus::Ok;
  }
  return ConversionStatus::LeftoverText;
}

// The decimal digits of a mantissa as kept for rounding: up to 27 significant digits,
// a trailing 1 standing for any non-zero digit beyond them, and the power of ten that
// scales the kept digits read as an integer.
struct DecimalDigits {
  char digits[kKeptDigits + 1];
  uint64_t head = 0;  // the kept digits as an integer while there are at most 19
  int count = 0;
  int64_t exponent = 0;
  bool sticky = false;
  bool anyDigit = false;
};

// Reads digits with at most one period; returns where the mantissa stops.
const char* scanMantissa(const char* p, const char* end, DecimalDigits& decimal) {
  bool afterPeriod = false;
  for (; p < end; ++p) {
    const char c = *p;
    if (isDecimalDigit(c)) {
      decimal.anyDigit = true;
      if (decimal.count == 0 && c == '0') {
        // A leading zero is not significant but still moves the point.
        if (afterPeriod) --decimal.exponent;
      } else if (decimal.count < kKeptDigits) {
        decimal.digits[decimal.count++] = c;
        if (decimal.count <= 19) decimal.head = decimal.head * 10 + static_cast<unsigned>(c - '0');
        if (afterPeriod) --decimal.exponent;
      } else {
        decimal.sticky |= c != '0';
        if (!afterPeriod) ++decimal.exponent;
      }
    } else if (c == '.' && !afterPeriod) {
      afterPeriod = true;
    } else {
      break;
    }
  }
  return p;
}

// The exponent part after a mantissa: a letter E, D or Q with an optional sign, or a
// bare sign; then digits. Without any digit the exponent is 0.
struct ExponentPart {
  int64_t value = 0;
  bool negative = false;
  bool outOfRange = false;
};

const char* scanExponent(const char* p, const char* end, ExponentPart& exponent) {
  if (p == end) return p;
  if (isExponentLetter(*p)) {
    ++p;
    exponent.negative = takeSign(p, end);
  } else if (isSign(*p)) {
    exponent.negative = takeSign(p, end);
  } else {
    return p;
  }
  int significant = 0;
  for (; p < end && isDecimalDigit(*p); ++p) {
    if (significant == 0 && *p == '0') continue;
    if (significant < kExponentDigitLimit) exponent.value = exponent.value * 10 + (*p - '0');
    ++significant;
  }
  exponent.outOfRange = significant >= kExponentDigitLimit;
  return p;
}

// Rounds the kept digits times ten to their exponent to the nearest double (ties to
// even), through a short text that the library converts correctly rounded.
ConversionStatus roundToDouble(DecimalDigits& decimal, bool negative, double& value) {
  // Most values of a model file are short enough for one exact operation: an integer
  // below 2^53 and a power of ten up to 10^22 are both exact doubles, so a single
  // correctly rounded multiplication or division gives the correctly rounded result.
  static constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  if (!decimal.sticky && decimal.count <= 19 && decimal.head <= (uint64_t{1} << 53) &&
      decimal.exponent >= -22 && decimal.exponent <= 22) {
    const double integer = static_cast<double>(decimal.head);
    const double scaled = decimal.exponent >= 0 ? integer * kExactPowers[decimal.exponent]
                                                : integer / kExactPowers[-decimal.exponent];
    value = negative ? -scaled : scaled;
    return ConversionStatus::Ok;
  }
  if (decimal.sticky) {
    decimal.digits[decimal.count++] = '1';
    --decimal.exponent;
  }
  // Magnitudes far outside the double range need no rounding, and keeping the
  // exponent small keeps the text short.
  const int64_t magnitude = decimal.exponent + decimal.count;
  if (magnitude > 310) return ConversionStatus::Overflow;
  if (magnitude < -330) {
    value = signedZero(negative);
    return ConversionStatus::Ok;
  }
  char text[kKeptDigits + 1 + 8];
  char* out = text;
  for (int i = 0; i < decimal.count; ++i) *out++ = decimal.digits[i];
  *out++ = 'e';
  out = std::to_chars(out, text + sizeof text, decimal.exponent).ptr;
  double magnitudeValue = 0;
  const std::from_chars_result result = std::from_chars(text, out, magnitudeValue);
  if (result.ec == std::errc::result_out_of_range) {
    // The library leaves the value alone when it overflows or rounds to zero.
    if (magnitude > 0) return ConversionStatus::Overflow;
    magnitudeValue = 0.0;
  } else if (std::isinf(magnitudeValue)) {
    return ConversionStatus::Overflow;
  }
  value = negative ? -magnitudeValue : magnitudeValue;
  return ConversionStatus::Ok;
}

}  // namespace

ConversionStatus parseReal64(const char* text, size_t length, double& value) {
  value = 0.0;
  const char* p = text;
  const char* end = text + length;
  const bool negative = takeSign(p, end);
  if (p < end) {
    const char lower = lowerAscii(*p);
    if (lower == 'i' || lower == 'n') {
      double special = 0.0;
      const ConversionStatus status = parseSpecialWord(p, end, negative, special);
      if (status == ConversionStatus::Ok) value = special;
      return status;
    }
  }
  DecimalDigits decimal;
  p = scanMantissa(p, end, decimal);
  if (!decimal.anyDigit) return ConversionStatus::InvalidCharacter;
  ExponentPart exponent;
  p = scanExponent(p, end, exponent);
  if (p != end) return ConversionStatus::LeftoverText;

  if (decimal.count == 0) {
    value = signedZero(negative);
    return ConversionStatus::Ok;
  }
  if (exponent.outOfRange) {
    if (!exponent.negative) return ConversionStatus::Overflow;
    value = signedZero(negative);
    return ConversionStatus::Ok;
  }
  decimal.exponent += exponent.negative ? -exponent.value : exponent.value;
  double result = 0.0;
  const ConversionStatus status = roundToDouble(decimal, negative, result);
  if (status == ConversionStatus::Ok) value = result;
  return status;
}
