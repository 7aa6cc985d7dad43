// The console texts of the utility: the usage text, the sample block file and the
// message for an input file that cannot be opened.
#pragma once

#include <string>
#include <string_view>

#include "output/output_layout.h"

/// Two records telling how the utility is called.
extern const OutputLayout usageLayout;

/// Eight records: a sample block file with a heading.
extern const OutputLayout sampleLayout;

/// One record: " File ", the name, " not found.".
extern const OutputLayout notFoundLayout;

/// The one line of the not-found message for `name`, without its record terminator:
/// for programs that repeat what the utility would say.
std::string notFoundLine(std::string_view name);

/// Writes the not-found message for the 200-character name buffer `name`, without
/// the name's trailing blanks.
void reportMissingInput(const char* name, int length);
