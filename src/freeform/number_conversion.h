// Turning the text of one value into an integer or a real item.
#pragma once

#include <cstddef>
#include <cstdint>

/// How a conversion went; every status but `Ok` makes the item fail with message 64.
enum class ConversionStatus { Ok, InvalidCharacter, Overflow, LeftoverText };

/// Reads `length` bytes at `text` as an optional sign and decimal digits; `value` gets
/// the 32-bit integer, or 0 when the status is not `Ok`.
ConversionStatus parseInteger32(const char* text, size_t length, int32_t& value);

/// Reads `length` bytes at `text` as a real number (mantissa, optional exponent, or
/// INF / INFINITY / NAN(...)) rounded to the nearest double; `value` gets the double,
/// or 0 when the status is not `Ok`.
ConversionStatus parseReal64(const char* text, size_t length, double& value);

/// The integer part of `value` (truncated toward zero); -2147483648 when that lies
/// outside the 32-bit range or `value` is not finite.
int32_t realToInteger32(double value);
