// Where each block of a block file stands: the lines its read statement took.
#pragma once

#include <cstdint>
#include <span>

/// The lines one block's seven values were read from.
struct BlockLines {
  int64_t first = 0;  // the first line that holds one of them (lines count from 1)
  int64_t last = 0;   // the line the seventh value, or the slash that ended them, is on
};

/// Moves each block's `first` past the blank lines its statement began on, reading the
/// regular file `path` once; a block's values begin on the first line of its statement
/// that holds more than blanks. Left as they are when the file cannot be read again.
void skipBlankLines(const char* path, std::span<BlockLines> lines);
