// Round values to mark along an axis or a colour scale, and their texts.
#pragma once

#include <string>
#include <vector>

/// Round values from `low` to `high` (both included when round), spaced 1, 2 or 5 times
/// a power of ten apart, at most about `maxCount` of them; `step` gets the spacing.
/// Empty when the range is empty or not finite.
std::vector<double> niceTicks(double low, double high, int maxCount, double& step);

/// Powers of ten from `low` to `high` (both above zero), every one or every few so that
/// at most about `maxCount` remain; where fewer than two lie in the range, 1, 2 and 5
/// times the powers of ten, or where fewer than two of those lie in it or more than
/// `maxCount`, the round values of `niceTicks`. Empty when the range is empty or not finite.
std::vector<double> logTicks(double low, double high, int maxCount);

/// The text of tick `value`, with as many decimals as the spacing `step` needs.
std::string formatTick(double value, double step);

/// The text of any value with four significant digits ("0.05", "1.235e+05", "NaN").
std::string formatValue(double value);
