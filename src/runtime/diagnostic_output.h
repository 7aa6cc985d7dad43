// Where the text of a diagnostic goes, and what it holds, as the environment
// switches decide on each diagnostic.
#pragma once

#include <cstddef>

/// The switches that shape one diagnostic.
struct DiagnosticSwitches {
  bool disableListing = false;
  bool forceListing = false;
  bool verboseListing = false;
  bool disableDisplay = false;
  bool dumpOnSevere = false;
  const char* logFile = nullptr;    // also append each diagnostic here
  const char* errorFile = nullptr;  // standard error goes here from the first diagnostic
};

/// Reads the diagnostic switches from the environment.
DiagnosticSwitches readDiagnosticSwitches();

/// Writes the text of one diagnostic: to standard error (reopened on the first
/// diagnostic when asked) unless the display is disabled, and to the log file.
void writeDiagnosticText(const DiagnosticSwitches& switches, const char* text, size_t length);
