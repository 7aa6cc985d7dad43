// The text of one line of an input file, to show where reading stopped.
#pragma once

#include <cstdint>
#include <string>

/// Longest line text `lineText` gives; a longer line is cut there and ends in "...".
constexpr size_t kLineTextLimit = 200;

/// The text of line `line` (counting from 1) of the regular file `path`, without its line
/// feed and the carriage returns before it; false when the file is not a regular file
/// (a pipe or a device cannot be read again), cannot be read, or is shorter.
bool lineText(const char* path, int64_t line, std::string& text);
