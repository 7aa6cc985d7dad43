// Numbers written so that they read back exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// Room `numberText` and `integerText` need.
constexpr size_t kNumberTextBytes = 32;

/// Writes `value` into `out` (room for kNumberTextBytes) in its shortest form that reads back as
/// the same double
/// ("100", "0.05", "1e+50", "-0"); NaN is written "NaN" and the infinities "Infinity" and
/// "-Infinity". Returns the length.
size_t numberText(double value, char* out);

/// Magnitudes that people type in plain decimals, as coordinates and values are: from
/// 0.0001 up to, not including, 1e15.
constexpr double kLeastPlain = 1e-4;
constexpr double kMostPlain = 1e15;

/// Writes `value` into `out` (room for kNumberTextBytes) as `numberText` does, but in plain
/// decimals for magnitudes from kLeastPlain up to kMostPlain ("500000", not "5e+05";
/// "0.0001"), as such numbers are typed; the shortest text that reads back as the same
/// double either way. Returns the length.
size_t plainNumberText(double value, char* out);

/// Writes `value` in decimal into `out` (room for kNumberTextBytes); returns the length.
size_t integerText(int64_t value, char* out);

/// Appends `value` as `numberText` writes it.
void appendNumber(std::string& text, double value);

/// Appends `value` as `plainNumberText` writes it.
void appendPlainNumber(std::string& text, double value);

/// Appends `value` in decimal.
void appendInteger(std::string& text, int64_t value);

/// Appends three counts as "a x b x c", as the cells along three axes are written.
void appendCounts(std::string& text, int64_t a, int64_t b, int64_t c);

/// True when `value` is NaN or infinite, which JSON cannot hold as a number.
bool isNonFinite(double value);
