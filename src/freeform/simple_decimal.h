// The fast form of the commonest number token: a plain decimal such as 1234.567, read in
// one pass, cut and converted at once.
#pragma once

#include <cstdint>

#include "freeform/decimal_words.h"

/// A plain decimal as read: where its token ends and its value.
struct SimpleDecimal {
  const char* end = nullptr;    // first byte after the token
  double value = 0;             // the correctly rounded value
  bool integerLooking = false;  // no period
};

/// readSimpleDecimal for every case: digits taken a word at a time while eight bytes can be
/// read, then byte by byte, in runs of any length.
bool readSimpleDecimalSlowly(const char* start, const char* recordEnd, const char* readableEnd,
                             SimpleDecimal& decimal);

/// Reads the token at `start` when it is a plain decimal: an optional sign, then digits
/// with at most one period among them and at least one digit, ended by a blank, comma,
/// slash, `)` or `recordEnd`; with at most 19 digits (leading zeros counted) that, read as
/// an integer, stay within 2^53. Such a value is one exact integer times or over one exact
/// power of ten, so a single rounded operation gives it. False for every other token (an
/// exponent, a repeat count, more digits, a stray byte), which the full scan and
/// conversion take; the token then has not been judged.
///
/// The bytes from `recordEnd` up to `readableEnd` (no earlier than recordEnd) may be read,
/// though they are no part of the token: where eight bytes can be read at once, digits are
/// taken eight at a time.
///
/// Inline, since it is most of the reading of a block file: most decimals have at most
/// seven digits on either side of the period, and where 18 bytes can be read (a sign,
/// eight digits, the period and eight more) the sign and both runs are found from two
/// words, with no branch on the sign and no loop.
inline bool readSimpleDecimal(const char* start, const char* recordEnd, const char* readableEnd,
                              SimpleDecimal& decimal) {
  if (readableEnd - start < 18) {
    return readSimpleDecimalSlowly(start, recordEnd, readableEnd, decimal);
  }
  const bool negative = *start == '-';
  const char* p = start + static_cast<int>(negative || *start == '+');
  const uint64_t head = loadWord(p);
  const int whole = leadingDigits(head);
  const bool period = p[whole] == '.';
  const uint64_t tail = loadWord(p + whole + 1);
  const int fraction = period ? leadingDigits(tail) : 0;
  const char* end = p + whole + static_cast<int>(period) + fraction;
  // Eight digits in a run may go on, and a token may not run past its record.
  if (whole == 8 || fraction == 8 || end > recordEnd) {
    return readSimpleDecimalSlowly(start, recordEnd, readableEnd, decimal);
  }
  if ((end < recordEnd && !endsDecimal(*end)) || whole + fraction == 0) return false;
  // At most 14 digits: the integer is exact as a double, and so is its quotient by a
  // power of ten up to the rounding of that one division. Up to eight digits in all (most
  // coordinates), the whole digits and the fraction's are joined into one word and valued
  // at once.
  uint64_t integer;
  if (whole + fraction <= 8) {
    const uint64_t wholeDigits = head & ((uint64_t{1} << (8 * whole)) - 1);
    integer = digitsValue(wholeDigits | (tail << (8 * whole)), whole + fraction);
  } else {
    integer = digitsValue(head, whole) * kIntegerPowers[fraction] + digitsValue(tail, fraction);
  }
  const double magnitude = static_cast<double>(integer) / kExactPowers[fraction];
  decimal.end = end;
  decimal.value = negative ? -magnitude : magnitude;
  decimal.integerLooking = !period;
  return true;
}
