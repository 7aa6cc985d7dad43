// Round values to mark along an axis or a colour scale, and their texts: steps of 1, 2
// or 5 times a power of ten on a linear scale, every power of ten on a logarithmic one,
// and one form of number for all the texts of one axis.
#pragma once

#include <string>
#include <vector>

/// Round values from `low` to `high` (both included when round), spaced 1, 2 or 5 times
/// a power of ten apart, at most about `maxCount` of them; `step` gets the spacing.
/// Empty when the range is empty or not finite.
std::vector<double> niceTicks(double low, double high, int maxCount, double& step);

/// The multiples of `step` from `low` to `high` (both included when round, within a
/// rounding); empty when the range or the step is empty or not finite.
std::vector<double> ticksAtStep(double low, double high, double step);

/// The round steps (1, 2 or 5 times a power of ten), coarsest first, that leave at least
/// `fewest` marks from `low` to `high`, down to the finest step that is at least
/// `finest`. Empty when there are none, or the range is empty or not finite.
std::vector<double> roundSteps(double low, double high, int fewest, double finest);

/// What the marks of a logarithmic scale are.
enum class LogMarks {
  Decades,    // every power of ten in the range
  Multiples,  // 1, 2 and 5 times the powers of ten
  Even,       // round values evenly spaced, as niceTicks gives them
};

/// Marks of a logarithmic scale from `low` to `high` (both above zero): every power of
/// ten in the range where two or more lie in it; else 1, 2 and 5 times the powers of ten
/// where two to about `maxCount` of those do; else the round values of `niceTicks`.
/// `marks` says which; `step` gets the spacing of evenly spaced marks, else 0. Empty when
/// the range is empty or not finite.
std::vector<double> logTicks(double low, double high, int maxCount, LogMarks& marks, double& step);

/// The texts of the marks `values` of a linear axis spaced `step` apart, all in one form:
/// plain decimals with the decimals the step needs ("0.00", "0.02", "0.04"), or, for
/// values of 1e9 or more in size or steps below 1e-6, exponent forms with one mantissa
/// length ("0.0e+00", "1.5e+09"). Zero is never negative.
std::vector<std::string> tickTexts(const std::vector<double>& values, double step);

/// The texts of the marks `values` of a logarithmic scale (round values such as powers of
/// ten), all in one form: plain numbers ("0.01", "1", "1000") when every one lies from
/// 1e-4 to 1e6, otherwise all in exponent form ("1e-06", "1e+00", "1e+06").
std::vector<std::string> logTickTexts(const std::vector<double>& values);

/// The text of any value with four significant digits ("0.05", "1.235e+05", "NaN").
std::string formatValue(double value);
