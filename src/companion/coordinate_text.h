// Numbers as people read them in a report or a picture: mesh coordinates with the digits
// that tell a node from its neighbours, and quantities worked out from them (distances,
// cell sizes) without the noise that floating-point sums leave in their last digits.
#pragma once

#include <cstdint>
#include <string>

/// Significant digits of an axis's largest coordinate that are shown: enough for any
/// coordinate a survey gives, few enough to hide the rounding of a running sum of widths.
constexpr int kReadableDigits = 11;

/// The text of `value` rounded to `digits` significant digits (1 to 17), without the
/// zeros that would end its decimals: plain decimals from 1e-4 up to 1e15, exponent form
/// beyond; "0" for either zero; "NaN", "Infinity" and "-Infinity" for the others.
std::string decimalText(double value, int digits);

/// The finest step worth showing for coordinates of the `count` nodes at `nodes`, and for
/// distances worked out from them: one unit in the kReadableDigits-th significant digit of
/// the largest finite node in size. 0 when every node is 0 or not finite.
double coordinateStep(const double* nodes, int32_t count);

/// `value` rounded to a multiple of the power of ten `step` (as `coordinateStep` gives),
/// in `decimalText`'s form: "0.1" for the cell size 0.09999999997671694 of an axis near
/// 500000, "0" for a value below `step`. With `step` 0, kReadableDigits digits.
std::string steppedText(double value, double step);

/// Node `index` (from 0) of the `count` nodes at `nodes`, as `steppedText` gives it with
/// `step`, or with as many more digits (up to 17, which tell any two doubles apart) as it
/// takes for the text to read back nearer to the node than to either node beside it that
/// differs from it.
std::string nodeText(const double* nodes, int32_t count, int32_t index, double step);
