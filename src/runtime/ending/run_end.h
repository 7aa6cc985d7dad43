// The end of the run, with one owner. Exactly one thread ends the run: it claims the
// end, hands over and closes every connection, and ends the process; a thread that comes
// second waits. Every way the run ends (the plain stop, a severe message, a console
// event, a terminating signal, a processor exception) goes through here, and nothing
// else ends the process.
#pragma once

#include <cstdint>

struct RunFailure;

/// How a claimed run ends.
enum class RunEndKind {
  Plain,         // the plain stop
  Severe,        // after a severe message
  ConsoleEvent,  // after message 200
  Signal,        // a terminating signal: the process ends by that signal
};

/// Where the end of the run is carried out.
enum class EndSetting {
  Thread,         // on an ordinary thread: it may lock, allocate and wait
  SignalHandler,  // inside a signal or exception handler: async-signal-safe calls only
};

/// Nanoseconds the end of the run waits for a pipe or device that takes nothing before it
/// drops the records that could not be handed over.
constexpr int64_t kEndHandOverNanoseconds = 800 * 1000 * 1000;

/// Hands over what every connection holds until `deadlineNs` and closes them, as
/// `setting` allows; reports a failure met and returns its number, else 0.
using ConnectionCloser = int32_t (*)(int64_t deadlineNs, EndSetting setting);

/// Registers how connections are closed at the end of the run: done by the layer that
/// keeps them, which lies above this one, when it makes its first connection.
void setConnectionCloser(ConnectionCloser closer);

/// Claims the end of the run for the calling thread: true for the first caller, and for
/// that caller again; false for every other. Async-signal-safe.
bool tryClaimRunEnd();

/// Claims the end of the run; a thread that comes second never returns.
void claimRunEnd();

/// True when a thread other than the caller has claimed the end of the run.
/// Async-signal-safe.
bool runEndingElsewhere();

/// Blocks the calling thread for good: another thread is ending the run. Never called
/// with a lock held. Async-signal-safe.
[[noreturn]] void waitForRunEnd();

/// Ends a claimed run: closes every connection, handing over the complete records held,
/// then ends the process with `status` (for Signal, by the signal numbered `status`). A
/// failure while closing is reported and ends the process with its number instead.
/// After a severe message, a dump flag ends the process with abort(). With a failure
/// handler installed and `failure` given, the handler takes the end once the connections
/// are closed.
[[noreturn]] void finishRun(int32_t status, RunEndKind kind, const RunFailure* failure,
                            EndSetting setting = EndSetting::Thread);

/// Ends the process with `status` at once, or hands it to the test hook.
/// Async-signal-safe (without a hook).
[[noreturn]] void endProcess(int status);

/// A replacement for the final exit, for tests; it must not return (it throws).
using ProcessEndHook = void (*)(int status);

/// Installs `hook` in place of the real exit (nullptr restores the real exit): the one
/// seam through which tests run code that ends the run.
void setProcessEndHook(ProcessEndHook hook);

/// Forgets a claimed end, so that a test can run again after a hooked end.
void forgetRunEndForTests();
