// Test support: turns the end of the run into a C++ exception, so that a unit test
// can run code that ends the run and then look at the status it ended with.
#pragma once

#include "runtime/connections/connection_table.h"
#include "runtime/ending/run_end.h"

/// Thrown by the test hook in place of the process ending.
struct HookedEnd {
  int status;
};

/// Forgets the claimed end and the connections: the hooked end closed them all, and the
/// next test starts with an empty table.
inline void resetRunForTests() {
  forgetRunEndForTests();
  discardAllConnections();
}

/// The hook: forgets the ended run, then throws the status.
[[noreturn]] inline void throwHookedEnd(int status) {
  resetRunForTests();
  throw HookedEnd{status};
}

/// Installs the throwing hook for its lifetime.
struct ScopedEndHook {
  ScopedEndHook() { setProcessEndHook(throwHookedEnd); }
  ~ScopedEndHook() { setProcessEndHook(nullptr); }
  ScopedEndHook(const ScopedEndHook&) = delete;
  ScopedEndHook& operator=(const ScopedEndHook&) = delete;
};

/// Runs `body` under the hook; returns the status the run ended with, or -1 when
/// `body` returned normally.
template <typename Body>
int endStatusOf(Body&& body) {
  ScopedEndHook hook;
  try {
    body();
  } catch (const HookedEnd& end) {
    return end.status;
  }
  return -1;
}
