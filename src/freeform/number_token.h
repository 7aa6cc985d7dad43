// Cutting a number token out of a record and checking its bytes.
#pragma once

/// Where a number token ends and what it looks like.
struct NumberToken {
  const char* end = nullptr;    // first byte after the token (its terminator or the record end)
  bool integerLooking = false;  // no period and no exponent letter (INF / NAN forms included)
};

/// Scans the number token that starts at `start`, stopping at a blank, comma, slash,
/// `)`, asterisk or `recordEnd`. Returns false when its bytes break the number syntax
/// (message 59): a stray byte, a misplaced sign, period or exponent letter, no digit.
bool scanNumberToken(const char* start, const char* recordEnd, NumberToken& token);
