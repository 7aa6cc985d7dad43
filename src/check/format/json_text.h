// Pieces of JSON text.
#pragma once

#include <string>
#include <string_view>

/// Appends `value` as a JSON string: quotes, backslashes and control characters escaped;
/// bytes that are not well-formed UTF-8 each become U+FFFD, so that any file name or line
/// of a file gives valid JSON.
void appendJsonString(std::string& text, std::string_view value);

/// Appends `value` as a JSON number in its shortest exact form; NaN and the infinities,
/// which JSON numbers cannot hold, as the strings "NaN", "Infinity" and "-Infinity".
void appendJsonNumber(std::string& text, double value);
