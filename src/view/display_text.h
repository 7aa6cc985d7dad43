// Text from the command line or a file name, made safe to draw.
#pragma once

#include <string>
#include <string_view>

/// `text` as valid UTF-8 on one line: each byte that does not start or continue a
/// valid UTF-8 character, and each control character, becomes '?'.
std::string displayText(std::string_view text);

/// `text` with every character beyond ASCII shown as one '?', for a font of ASCII glyphs.
std::string asciiText(std::string_view text);
