// Text from the command line or a file name, made safe to draw.
#pragma once

#include <string>
#include <string_view>

/// `text` as valid UTF-8 on one line: each byte that does not start or continue a
/// valid UTF-8 character, and each control character, becomes '?'.
std::string displayText(std::string_view text);

/// The characters of `displayText(text)`, one code point each.
std::u32string codePoints(std::string_view text);
