// Texts of mesh coordinates for titles: as short as the value allows, and never so
// short that two neighbouring nodes read alike.
#pragma once

#include <string>
#include <vector>

/// The text of `value` rounded to `digits` significant digits (1 to 17), without the
/// zeros that would end its decimals: plain decimals from 1e-4 up to 1e15, exponent form
/// beyond; "0" for either zero; "NaN", "Infinity" and "-Infinity" for the others.
std::string coordinateText(double value, int digits);

/// The fewest significant digits (at most 15) whose text reads back as `value` itself,
/// or 15 when none does (as for a sum such as 0.1 + 0.2).
int shortestDigits(double value);

/// The texts of `values`, each with its shortest digits, except that two neighbours
/// that differ but read alike get 17 digits, enough to tell any two doubles apart.
std::vector<std::string> distinctCoordinateTexts(const std::vector<double>& values);
