#include "model/blocks/value_texts.h"

#include <cstring>

const char* valueText(ValueTexts& texts, double value) {
  uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  // The top bits of a multiplicative hash: values that differ only in their low bits, or
  // only in their exponent, still spread over the entries.
  ValueTexts::Entry& entry = texts.entries[(bits * 0x9E3779B97F4A7C15u) >> 56];
  if (!entry.filled || entry.bits != bits) {
    formatModelValue(value, entry.text);
    entry.bits = bits;
    entry.filled = true;
  }
  return entry.text;
}
