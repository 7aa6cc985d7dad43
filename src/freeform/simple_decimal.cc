#include "freeform/simple_decimal.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "freeform/number_text.h"

namespace {

// Eight bytes at once, as one word: the byte at the lowest address is the word's lowest.
constexpr uint64_t kEachByte = 0x0101010101010101u;

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr uint64_t kIntegerPowers[] = {1,      10,      100,      1000,     10000,
                                       100000, 1000000, 10000000, 100000000};

// The eight bytes at `p` as a little-endian word, whatever the processor's byte order.
uint64_t loadWord(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) {
    uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i) swapped |= ((word >> (8 * i)) & 0xFF) << (8 * (7 - i));
    word = swapped;
  }
  return word;
}

// How many of the word's bytes, from the first, are decimal digits (0 to 8). A byte is a
// digit when its difference from '0' (taken by exclusive or) is below 10; adding 0x76 to
// the low seven bits sets the top bit of every byte that is not, with no carry between
// bytes, and a byte with its own top bit set is none either.
int leadingDigits(uint64_t word) {
  const uint64_t offset = word ^ (kEachByte * '0');
  const uint64_t notDigit =
      (((offset & (kEachByte * 0x7F)) + kEachByte * 0x76) | offset) & (kEachByte * 0x80);
  return std::countr_zero(notDigit) / 8;
}

// The value of the first `count` (0 to 8) digits of the word: the digits are moved to the
// top, so that the others drop out, then joined pairwise into 2, 4 and 8-digit numbers.
uint64_t digitsValue(uint64_t word, int count) {
  // No shift by 64 for no digits: the word is kept and the result zeroed.
  uint64_t digits =
      ((word ^ (kEachByte * '0')) << ((64 - 8 * count) & 63)) * static_cast<uint64_t>(count != 0);
  digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
  digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFFu;
  return (digits * 10000 + (digits >> 32)) & 0xFFFFFFFFu;
}

// True when `c` may end a plain decimal inside a record.
bool endsDecimal(char c) {
  return c == ' ' || c == '\t' || c == ',' || c == '/' || c == ')';
}

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

// Any plain decimal: its runs of digits taken a word at a time while eight bytes can be
// read, then byte by byte.
bool readAnyDecimal(const char* start, const char* recordEnd, const char* readableEnd,
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

}  // namespace

bool readSimpleDecimal(const char* start, const char* recordEnd, const char* readableEnd,
                       SimpleDecimal& decimal) {
  // Most decimals have at most eight digits on either side of the period. Where 18 bytes
  // can be read (a sign, eight digits, the period and eight more), the sign and both runs
  // are found from two words, with no branch on the sign and no loop: the place of each
  // byte follows from the one before by arithmetic, which sets the pace of reading a line.
  if (readableEnd - start < 18) return readAnyDecimal(start, recordEnd, readableEnd, decimal);
  const bool negative = *start == '-';
  const char* p = start + static_cast<int>(negative || *start == '+');
  const uint64_t head = loadWord(p);
  const int whole = leadingDigits(head);
  const bool period = p[whole] == '.';
  const uint64_t tail = loadWord(p + whole + 1);
  const int fraction = period ? leadingDigits(tail) : 0;
  const char* end = p + whole + static_cast<int>(period) + fraction;
  // Eight digits in a run may go on, and a token may not run past its record: the loop
  // takes those.
  if (whole == 8 || fraction == 8 || end > recordEnd) {
    return readAnyDecimal(start, recordEnd, readableEnd, decimal);
  }
  if (end < recordEnd && !endsDecimal(*end)) return false;
  const uint64_t integer =
      digitsValue(head, whole) * kIntegerPowers[fraction] + digitsValue(tail, fraction);
  return finishDecimal(negative, integer, whole + fraction, period ? fraction : -1, end, decimal);
}
