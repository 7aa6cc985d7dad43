// One command line made from arguments that arrived already split.
#pragma once

#include <string>
#include <vector>

/// Joins `elements` into one command line that the utility's own splitting gives back
/// exactly: each element quoted whole, an inner double quote written as three.
std::string joinCommandLine(const std::vector<std::string>& elements);
