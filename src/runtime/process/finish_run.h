// Carrying out a claimed end of the run, the same way for every kind of end: the plain
// stop, a severe failure, a console event, a terminating signal, a processor exception.
#pragma once

#include <cstdint>

#include "runtime/diagnostics/failure.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/ending/run_end.h"

/// How a claimed run ends.
enum class RunEndKind {
  Plain,         // the plain stop
  Severe,        // after a severe message
  ConsoleEvent,  // after message 200
  Signal,        // a terminating signal: the process ends by that signal
};

/// Ends a run whose end the calling thread has claimed. First every write connection stops
/// taking records and hands over the complete records it holds, so that the files are
/// whole and still within moments of the event however long the rest takes; then `notice`,
/// if any, is written (the message line and the call-stack listing); then the handles that
/// the calling thread opened are closed, and the process ends with `status` (for Signal,
/// by the signal numbered `status`). A failure of the hand-over or the closing is reported
/// and ends the process with its number instead. After a severe message, a dump flag ends
/// the process with abort(). With a failure handler installed and `handled` given, the
/// handler takes the end in place of the diagnostics once the connections are done.
[[noreturn]] void finishRun(int32_t status, RunEndKind kind, const Diagnostic* notice,
                            const RunFailure* handled, EndSetting setting = EndSetting::Thread);

/// Ends the run for `failure` that reached the top of a program: its diagnostic, every
/// connection handed over and closed, and its number as exit status. When the run is
/// already ending on another thread, that thread finishes it and this one waits.
[[noreturn]] void endRunForFailure(const Failure& failure);
