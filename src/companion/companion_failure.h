// How the work of a companion program fails: a value carried up to the program's main,
// which alone writes it and ends the process, or to a library's caller, whose process
// goes on.
#pragma once

#include <cstdint>
#include <string>

/// A failure of a companion's work; status 0 says the work was done.
struct CompanionFailure {
  int status = 0;       // the exit status the program ends with: kUsageStatus or
                        // kFailureStatus; 0 for none
  std::string text;     // what went wrong, one line, without the program's name and the
                        // line end
  std::string detail;   // lines that follow `text` on standard error, each ended by a
                        // line feed; may be empty
  std::string json;     // the JSON error object a program asked for JSON writes on
                        // standard output in place of its report; empty for none
  std::string file;     // the file it concerns, as the user named it; empty where none
  int64_t line = 0;     // the line of `file` it concerns, from 1; 0 where unknown
  int32_t message = 0;  // the number of the run-time's message, where the failure is one
                        // the run-time found (29 file not found, 24 end of file ...)

  /// True when something failed.
  explicit operator bool() const { return status != 0; }
};

/// A failure with `status` and the one-line `text`.
CompanionFailure failureOf(int status, std::string text);

/// A failure with `status` and the one-line text made from the printf-style `format`.
CompanionFailure formattedFailure(int status, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
