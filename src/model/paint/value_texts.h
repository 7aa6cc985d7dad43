// The texts of block values, each rendered once while it recurs.
#pragma once

#include <cstdint>

#include "output/format_model_value.h"

/// Where the texts of values rendered lately were put, found by a hash of the value's
/// bits: block files often hold a few values many times, in runs or interleaved.
struct ValueTexts {
  /// One value's bits and where its text was put.
  struct Entry {
    uint64_t bits = 0;
    const char* text = nullptr;  // null while the entry holds no value
  };
  Entry recent[256];
};

/// Puts the kModelValueWidth-character text of `value`, as formatModelValue renders it, at
/// `text`: copied from where it was put last when an entry still holds the value, else
/// rendered there. `text` is then the value's entry, so it must keep the text while
/// `texts` is used.
void putValueText(ValueTexts& texts, double value, char* text);
