// The message for an input file that cannot be opened: the one record boxpaint writes for
// it, and the same line as text for programs that repeat what boxpaint would say.
#pragma once

#include <string>
#include <string_view>

#include "output/output_layout.h"

/// One record: " File ", the name, " not found.".
extern const OutputLayout notFoundLayout;

/// The one line `notFoundLayout` makes of `name`, without its record terminator.
std::string notFoundLine(std::string_view name);
