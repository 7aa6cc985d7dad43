// Environment switches: reading their values and judging their truth.
#pragma once

/// True when `value` begins with t, T, y or Y, or is all decimal digits with a value
/// other than zero. False for nullptr, the empty text and everything else.
bool switchValueIsTrue(const char* value);

/// True when the switch `name` is set and its value is true.
bool switchIsTrue(const char* name);

/// The value of the switch `name`, or nullptr when it is not set (an empty value is set).
const char* switchValue(const char* name);
