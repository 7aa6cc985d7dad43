// What one run of boxpaint did, however it was run.
#pragma once

#include <string>

/// What one run did.
struct RunResult {
  std::string out;          // standard output bytes
  std::string err;          // standard error bytes
  int status = -1;          // exit status, or -1 when ended by a signal
  int termSignal = 0;       // the signal that ended it, else 0
  bool signalSent = false;  // the signal of the options was sent
  bool killed = false;      // killed for running past `killAfterMs`
};

/// The first line of `text` (up to, not including, the first newline).
inline std::string firstLine(const std::string& text) {
  return text.substr(0, text.find('\n'));
}
