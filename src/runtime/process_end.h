// How the process ends. Every path that ends the run ends in `endProcess`, the one seam
// that tests replace.
#pragma once

/// A replacement for the final exit; it must not return (a test hook throws).
using ProcessEndHook = void (*)(int status);

/// Installs `hook` in place of the real exit (nullptr restores the real exit).
void setProcessEndHook(ProcessEndHook hook);

/// Ends the process with `status`, or hands it to the installed hook.
[[noreturn]] void endProcess(int status);

/// Ends the process abnormally with abort(), whatever SIGABRT's handling was.
/// Async-signal-safe.
[[noreturn]] void abortProcess();

/// Claims the end of the process for the calling thread. The first caller gets true,
/// and so does that caller again; every other caller gets false and must leave the
/// ending to the first. Async-signal-safe.
bool claimProcessEnd();

/// Blocks the calling thread until the thread that claimed the end finishes it.
[[noreturn]] void waitForProcessEnd();

/// Forgets a claimed end and closed connections, so that tests can run again after
/// a hooked end. Never called by the utility itself.
void resetProcessEndForTests();
