#include "check/shortest_number.h"

#include <charconv>
#include <cmath>
#include <cstring>

size_t numberText(double value, char* out) {
  const char* word = nullptr;
  if (std::isnan(value)) word = "NaN";
  if (std::isinf(value)) word = value < 0 ? "-Infinity" : "Infinity";
  if (word != nullptr) {
    const size_t length = std::strlen(word);
    std::memcpy(out, word, length);
    return length;
  }
  // The shortest form of a double is at most 24 characters ("-2.2250738585072014e-308").
  return static_cast<size_t>(std::to_chars(out, out + kNumberTextBytes, value).ptr - out);
}

size_t integerText(int64_t value, char* out) {
  return static_cast<size_t>(std::to_chars(out, out + kNumberTextBytes, value).ptr - out);
}

void appendNumber(std::string& text, double value) {
  char digits[kNumberTextBytes];
  text.append(digits, numberText(value, digits));
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
