#include "view/scene/display_text.h"

#include <cstdint>

namespace {

// The length of the valid UTF-8 character at the start of `text`, or 0. Overlong forms,
// surrogates and code points beyond U+10FFFF are not valid.
size_t characterLength(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  const uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length = 0;
  uint32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

}  // namespace

std::string displayText(std::string_view text) {
  std::string result;
  while (!text.empty()) {
    const size_t length = characterLength(text);
    const uint8_t lead = static_cast<uint8_t>(text[0]);
    if (length == 0 || lead < 0x20 || lead == 0x7F) {
      result += '?';
      text.remove_prefix(1);
    } else {
      result.append(text.substr(0, length));
      text.remove_prefix(length);
    }
  }
  return result;
}

std::u32string codePoints(std::string_view text) {
  const std::string valid = displayText(text);
  std::u32string codes;
  for (size_t at = 0; at < valid.size();) {
    const uint8_t lead = static_cast<uint8_t>(valid[at]);
    // Valid UTF-8: the lead byte says how many bytes follow, each holding six bits.
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) code = (code << 6) | (valid[at + i] & 0x3F);
    codes.push_back(code);
    at += length;
  }
  return codes;
}
