// The environment switches that shape each diagnostic, read afresh for each one.
#pragma once

/// The switches that shape one diagnostic and the end of the run after it.
struct DiagnosticSwitches {
  bool disableListing = false;
  bool forceListing = false;
  bool verboseListing = false;
  bool disableDisplay = false;
  bool dumpOnSevere = false;        // a severe end is an abort()
  const char* logFile = nullptr;    // also append each diagnostic here
  const char* errorFile = nullptr;  // standard error goes here from the first diagnostic
};

/// Reads the diagnostic switches from the environment.
DiagnosticSwitches readDiagnosticSwitches();

/// Reads the diagnostic switches once, at start-up, for what a signal handler does: it
/// may not read the environment.
void captureDiagnosticSwitches();

/// The switches as captured at start-up; all unset before. Async-signal-safe.
const DiagnosticSwitches& capturedDiagnosticSwitches();
