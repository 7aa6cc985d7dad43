// The console texts of the utility: the usage text, the sample block file and the
// message for an input file that cannot be opened.
#pragma once

#include "output/output_layout.h"
#include "runtime/diagnostics/failure.h"

/// Two records telling how the utility is called.
extern const OutputLayout usageLayout;

/// Eight records: a sample block file with a heading.
extern const OutputLayout sampleLayout;

/// Writes the not-found message (output/not_found_layout.h) for the 200-character name
/// buffer `name`, without the name's trailing blanks; returns the failure of its write.
Failure reportMissingInput(const char* name, int length);
