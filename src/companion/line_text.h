// The text of one line of an input file, read again to show where reading stopped, and
// text made safe to print on a terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

/// Longest line text `lineText` gives; a longer line is cut there and ends in "...".
constexpr size_t kLineTextLimit = 200;

/// The text of line `line` (counting from 1) of the regular file `path`, cut as the
/// line reader cuts lines, without its line feed and the carriage returns before it;
/// false when `path` is not a regular file (a pipe or a device cannot be read again),
/// cannot be read, or is shorter.
bool lineText(const char* path, int64_t line, std::string& text);

/// `text` with each control character (a byte below 0x20 other than a tab, and 0x7F)
/// shown as '?', so that a line quoted from a file cannot move a terminal's cursor.
std::string printableText(std::string_view text);
