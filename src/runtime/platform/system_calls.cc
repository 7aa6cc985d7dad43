#include "runtime/platform/system_calls.h"

#include "runtime/platform/fill_system_calls.h"

const SystemCalls& platformSystemCalls() {
  static const SystemCalls table = [] {
    SystemCalls filled{};
    fillFileCalls(filled);
    fillMemoryCalls(filled);
    fillProcessCalls(filled);
    fillStackCalls(filled);
    return filled;
  }();
  return table;
}

SystemCalls& systemCalls() {
  // Made on first use from the platform's table, so that no order of start-up can see it
  // unfilled.
  static SystemCalls table = platformSystemCalls();
  return table;
}

void SystemRelease::operator()(void* memory) const {
  systemCalls().release(memory);
}
