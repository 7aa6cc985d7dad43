// The 10-character text of a model value.
#pragma once

/// Width of the text of one model value.
constexpr int kModelValueWidth = 10;

/// Writes the 10-character scientific text of `value` (4 significant digits, right-justified,
/// no terminating NUL) into `out`.
void formatModelValue(double value, char out[kModelValueWidth]);
