#include "freeform/simple_decimal.h"

#include <cstdint>

#include "freeform/number_text.h"

bool readSimpleDecimal(const char* start, const char* recordEnd, SimpleDecimal& decimal) {
  static constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = start;
  const bool negative = takeSign(p, recordEnd);
  // The digits before and after the period go into one integer; with at most 19 of them
  // (leading zeros counted) it cannot overflow.
  uint64_t integer = 0;
  const char* digits = p;
  while (p < recordEnd && isDecimalDigit(*p)) integer = integer * 10 + (*p++ - '0');
  int count = static_cast<int>(p - digits);
  int afterPeriod = -1;  // digits after the period; -1 while there is none
  if (p < recordEnd && *p == '.') {
    const char* fraction = ++p;
    while (p < recordEnd && isDecimalDigit(*p)) integer = integer * 10 + (*p++ - '0');
    afterPeriod = static_cast<int>(p - fraction);
    count += afterPeriod;
  }
  if (count == 0 || count > 19) return false;
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
