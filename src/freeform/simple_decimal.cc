#include "freeform/simple_decimal.h"

#include <algorithm>
#include <cstdint>

#include "freeform/decimal_words.h"
#include "freeform/number_text.h"

namespace {

// The decimal from its digits read as one integer and the count of those after the period
// (-1 with no period), when it has 1 to 19 digits in all; false otherwise.
bool finishDecimal(bool negative, uint64_t integer, int count, int afterPeriod, const char* end,
                   SimpleDecimal& decimal) {
  if (count == 0 || count > 19 || integer > (uint64_t{1} << 53)) return false;
  const double exact = static_cast<double>(integer);
  const double magnitude = afterPeriod > 0 ? exact / kExactPowers[afterPeriod] : exact;
  decimal.end = end;
  decimal.value = negative ? -magnitude : magnitude;
  decimal.integerLooking = afterPeriod < 0;
  return true;
}

// Reads the run of digits at `p` into `value` (value * 10^digits + the digits; only the
// caller's limit on the count keeps it from wrapping) and returns where the run stops.
const char* takeDigits(const char* p, const char* recordEnd, const char* readableEnd,
                       uint64_t& value) {
  while (readableEnd - p >= 8) {
    const uint64_t word = loadWord(p);
    const int count =
        static_cast<int>(std::min<std::ptrdiff_t>(leadingDigits(word), recordEnd - p));
    value = value * kIntegerPowers[count] + digitsValue(word, count);
    p += count;
    if (count < 8) return p;
  }
  while (p < recordEnd && isDecimalDigit(*p))
    value = value * 10 + static_cast<unsigned>(*p++ - '0');
  return p;
}

}  // namespace

// Any plain decimal: its runs of digits taken a word at a time while eight bytes can be
// read, then byte by byte.
bool readSimpleDecimalSlowly(const char* start, const char* recordEnd, const char* readableEnd,
                             SimpleDecimal& decimal) {
  const char* p = start;
  const bool negative = takeSign(p, recordEnd);
  // The digits before and after the period go into one integer; with at most 19 of them
  // (leading zeros counted) it cannot overflow.
  uint64_t integer = 0;
  const char* digits = p;
  p = takeDigits(p, recordEnd, readableEnd, integer);
  int count = static_cast<int>(p - digits);
  int afterPeriod = -1;  // digits after the period; -1 while there is none
  if (p < recordEnd && *p == '.') {
    const char* fraction = ++p;
    p = takeDigits(p, recordEnd, readableEnd, integer);
    afterPeriod = static_cast<int>(p - fraction);
    count += afterPeriod;
  }
  if (p < recordEnd && !endsDecimal(*p)) return false;
  return finishDecimal(negative, integer, count, afterPeriod, p, decimal);
}
