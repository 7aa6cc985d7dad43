// The end of a companion program: the one place that writes how its work ended and ends
// the process.
#pragma once

#include <string_view>

#include "companion/companion_failure.h"

/// Writes `text` on standard output; a failure (kFailureStatus) when it cannot be written.
CompanionFailure writeStandardOutput(std::string_view text);

/// Writes on standard output what a command line that asks for help or the version wants:
/// `helpText` when `help`, else the line "program version" of the program `program`.
CompanionFailure writeHelpOrVersion(bool help, const char* helpText, const char* program);

/// Writes `failure` for the program named `program` ("boxpaint-view"): its JSON object,
/// if any, on standard output, then "program: text" and its detail on standard error.
void writeFailure(const char* program, const CompanionFailure& failure);

/// Ends the program `program` as its work ended: a failure is written (writeFailure) and
/// ends the process with its status; no failure ends it with status 0. Claims the end of
/// the run first, so that a console event cannot end the program halfway, and ends the
/// process through the run-time's owner of the end.
[[noreturn]] void endProgram(const char* program, const CompanionFailure& failure);
