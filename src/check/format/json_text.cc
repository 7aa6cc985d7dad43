#include "check/format/json_text.h"

#include <cstdint>

#include "check/format/shortest_number.h"

namespace {

// The length of the well-formed UTF-8 sequence at the start of `bytes`, or 0 when it is
// not one (a stray continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
size_t utf8SequenceLength(std::string_view bytes) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  const uint8_t lead = byte(0);
  size_t length = 0;
  uint8_t low = 0x80, high = 0xBF;  // the range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

void appendJsonString(std::string& text, std::string_view value) {
  static const char kHex[] = "0123456789abcdef";
  text.push_back('"');
  for (size_t i = 0; i < value.size();) {
    const auto byte = static_cast<uint8_t>(value[i]);
    if (byte == '"' || byte == '\\') {
      text.push_back('\\');
      text.push_back(static_cast<char>(byte));
      ++i;
    } else if (byte < 0x20) {
      text.append("\\u00");
      text.push_back(kHex[byte >> 4]);
      text.push_back(kHex[byte & 0xF]);
      ++i;
    } else if (byte < 0x80) {
      text.push_back(static_cast<char>(byte));
      ++i;
    } else if (const size_t length = utf8SequenceLength(value.substr(i)); length > 0) {
      text.append(value.substr(i, length));
      i += length;
    } else {
      text.append("\\ufffd");
      ++i;
    }
  }
  text.push_back('"');
}

void appendJsonNumber(std::string& text, double value) {
  if (isNonFinite(value)) {
    text.push_back('"');
    appendNumber(text, value);
    text.push_back('"');
    return;
  }
  appendNumber(text, value);
}
