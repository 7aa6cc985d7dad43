#include "model/paint/value_texts.h"

#include <cstring>

void putValueText(ValueTexts& texts, double value, char* text) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  // The top bits of a multiplicative hash: values that differ only in their low bits, or
  // only in their exponent, still spread over the entries.
  ValueTexts::Entry& entry = texts.recent[(bits * 0x9E3779B97F4A7C15u) >> 56];
  if (entry.text != nullptr && entry.bits == bits) {
    std::memcpy(text, entry.text, kModelValueWidth);
  } else {
    formatModelValue(value, text);
  }
  entry.bits = bits;
  entry.text = text;
}
