// The end of the run. Exactly one thread ends it: that thread claims the end, hands over
// and closes every connection, and ends the process. Every way the run ends (the plain
// stop, a severe message, a console event, SIGTERM) goes through here; a processor
// exception takes the same steps in its signal handler.
#pragma once

#include <cstdint>

struct RunFailure;

/// How a claimed run ends.
enum class RunEndKind {
  Plain,         // the plain stop
  Severe,        // after a severe message
  ConsoleEvent,  // after message 200
  Terminate,     // SIGTERM: the process ends by that signal
};

/// Nanoseconds the end of the run waits for a pipe that takes nothing before it drops
/// the records that could not be handed over.
constexpr int64_t kEndHandOverNanoseconds = 800 * 1000 * 1000;

/// Claims the end of the run for the calling thread. A thread that comes second never
/// returns: it waits while the first ends the process. Async-signal-safe.
void claimRunEnd();

/// Ends a claimed run: closes every connection, handing over the complete records held,
/// then ends the process with `status` (by SIGTERM for Terminate). A failure while
/// closing is reported and ends the process with its number instead. After a severe
/// message, a dump flag ends the process with abort(). With a failure handler installed
/// and `failure` given, the handler takes the end once the connections are closed.
[[noreturn]] void finishRun(int32_t status, RunEndKind kind, const RunFailure* failure);
