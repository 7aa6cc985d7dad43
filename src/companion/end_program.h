// The end of a companion program once its work is done.
#pragma once

/// Flushes standard output (a failure to flush makes the status kFailureStatus), claims
/// the end of the run, so that a console event cannot end the program halfway, and ends
/// the process with `status` through the run-time's owner of the end.
[[noreturn]] void endProgram(int status);
