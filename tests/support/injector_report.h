// What the preloaded fault injector (tests/fault_injector) reports about a run.
#pragma once

#include <map>
#include <string>

/// The injector's report: the calls counted by kind and the call it faulted.
struct InjectorReport {
  std::map<std::string, long> calls;  // "write", "read", ...; empty when the run died by a signal
  bool faulted = false;               // the planned call was made and faulted
  std::string kind;                   // of the faulted call
  long call = 0;                      // its number among the calls of its kind
  std::string action;                 // an errno name, "short" or "signal=NAME"
  int fd = -1;                        // the descriptor it worked on, or -1
  std::string target;                 // the file the descriptor or path named, or "size=N"
  int openNumber = 0;                 // a faulted open: the number of the message it maps to
};

/// Reads the report the injector wrote at `path` (an empty report when there is none); a
/// faulted open's errno name gives its message number.
InjectorReport readInjectorReport(const std::string& path);

/// The path of the fault injector library, for LD_PRELOAD.
const char* faultInjectorPath();

/// Why the injector cannot be preloaded here (a wrapper command would take it; a
/// sanitizer's run-time must own malloc), or null when it can.
const char* whyNoInjector();
