#include "freeform/simple_decimal.h"

#include <cstdint>

#include "freeform/number_text.h"

bool readSimpleDecimal(const char* start, const char* recordEnd, SimpleDecimal& decimal) {
  static constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = start;
  const bool negative = takeSign(p, recordEnd);
  uint64_t integer = 0;
  int significant = 0;
  int afterPeriod = -1;  // digits after the period; -1 while there is none
  bool anyDigit = false;
  for (; p < recordEnd; ++p) {
    const char c = *p;
    if (isDecimalDigit(c)) {
      anyDigit = true;
      if (afterPeriod >= 0) ++afterPeriod;
      // Leading zeros are not significant.
      if (significant == 0 && c == '0') continue;
      if (++significant > 19) return false;
      integer = integer * 10 + static_cast<unsigned>(c - '0');
    } else if (c == '.' && afterPeriod < 0) {
      afterPeriod = 0;
    } else {
      break;
    }
  }
  if (!anyDigit) return false;
  if (p < recordEnd) {
    const char c = *p;
    if (c != ' ' && c != '\t' && c != ',' && c != '/' && c != ')') return false;
  }
  if (integer > (uint64_t{1} << 53) || afterPeriod > 22) return false;
  const double exact = static_cast<double>(integer);
  const double magnitude = afterPeriod > 0 ? exact / kExactPowers[afterPeriod] : exact;
  decimal.end = p;
  decimal.value = negative ? -magnitude : magnitude;
  decimal.integerLooking = afterPeriod < 0;
  return true;
}
