// The fast form of the commonest number token: a plain decimal such as 1234.567, read in
// one pass, cut and converted at once.
#pragma once

/// A plain decimal as read: where its token ends and its value.
struct SimpleDecimal {
  const char* end = nullptr;    // first byte after the token
  double value = 0;             // the correctly rounded value
  bool integerLooking = false;  // no period
};

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
bool readSimpleDecimal(const char* start, const char* recordEnd, const char* readableEnd,
                       SimpleDecimal& decimal);
