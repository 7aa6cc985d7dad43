// Where the text of a diagnostic goes, and what it holds, as the environment
// switches decide on each diagnostic.
#pragma once

#include <cstddef>

#include "runtime/environment/diagnostic_switches.h"

/// Writes the text of one diagnostic: to standard error (reopened on the first
/// diagnostic when asked) unless the display is disabled, and to the log file.
void writeDiagnosticText(const DiagnosticSwitches& switches, const char* text, size_t length);
