// Round values to mark along an axis or a colour scale, and their texts.
#pragma once

#include <string>
#include <vector>

/// Round values from `low` to `high` (both included when round), spaced 1, 2 or 5 times
/// a power of ten apart, at most about `maxCount` of them; `step` gets the spacing.
/// Empty when the range is empty or not finite.
std::vector<double> niceTicks(double low, double high, int maxCount, double& step);

/// The text of tick `value`, with as many decimals as the spacing `step` needs.
std::string formatTick(double value, double step);

/// The text of any value with four significant digits ("0.05", "1.235e+05", "NaN").
std::string formatValue(double value);
