// The end of a companion program once its work is done.
#pragma once

#include <string_view>

/// Claims the end of the run, so that a console event cannot end the program halfway,
/// and ends the process with `status` through the run-time's owner of the end.
[[noreturn]] void endProgram(int status);

/// Writes `text` on standard output, then ends the program with status 0, or with
/// kFailureStatus when it cannot be written.
[[noreturn]] void endProgramWithText(std::string_view text);
