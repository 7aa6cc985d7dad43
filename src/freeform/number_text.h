// Small byte tests shared by the number scanner and the conversions.
#pragma once

/// True for the ASCII digits 0-9.
inline bool isDecimalDigit(char c) {
  return static_cast<unsigned char>(c) - unsigned{'0'} <= 9;
}

/// True for the bytes that part values: space, tab, CR and LF.
inline bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/// True for `+` and `-`.
inline bool isSign(char c) {
  return c == '+' || c == '-';
}

/// Passes over a `+` or `-` at `p` (before `end`), if there is one; true for `-`.
inline bool takeSign(const char*& p, const char* end) {
  if (p == end || !isSign(*p)) return false;
  return *p++ == '-';
}
