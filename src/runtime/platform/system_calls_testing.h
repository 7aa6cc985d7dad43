// Test support: changes to the table of system calls that last as long as a scope.
#pragma once

#include "runtime/platform/system_calls.h"

/// Puts every entry of the table back as it was when the scope began.
struct ScopedSystemCalls {
  SystemCalls saved = systemCalls();
  ScopedSystemCalls() = default;
  ~ScopedSystemCalls() { systemCalls() = saved; }
  ScopedSystemCalls(const ScopedSystemCalls&) = delete;
  ScopedSystemCalls& operator=(const ScopedSystemCalls&) = delete;
};
