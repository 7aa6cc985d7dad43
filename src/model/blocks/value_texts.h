// The texts of block values, each rendered once while it recurs.
#pragma once

#include <cstdint>

#include "output/format_model_value.h"

/// Texts of values rendered lately, found by a hash of the value's bits: block files often
/// hold a few values many times, in runs or interleaved.
struct ValueTexts {
  /// One value's bits and its text.
  struct Entry {
    uint64_t bits = 0;
    bool filled = false;
    char text[kModelValueWidth] = {};
  };
  Entry entries[256];
};

/// The kModelValueWidth-character text of `value`, as formatModelValue renders it; rendered
/// only when the value's entry does not hold it already. Valid until the next call.
const char* valueText(ValueTexts& texts, double value);
