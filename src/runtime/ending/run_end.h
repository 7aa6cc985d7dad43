// The end of the run, with one owner. Exactly one thread ends the run: it claims the end,
// and a thread that comes second leaves the ending to it. How a claimed run is carried out
// (the hand-over, the diagnostic, the closing, the exit) is the process part's; this part
// holds the claim and the exit itself, which tests may replace.
#pragma once

#include <cstdint>

/// Where the end of the run is carried out.
enum class EndSetting {
  Thread,         // on an ordinary thread: it may lock, allocate and wait
  SignalHandler,  // inside a signal or exception handler: async-signal-safe calls only
};

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
