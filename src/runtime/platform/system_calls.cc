#include "runtime/platform/system_calls.h"

SystemCalls& systemCalls() {
  // Made on first use from the platform's table, so that no order of start-up can see it
  // unfilled.
  static SystemCalls table = platformSystemCalls();
  return table;
}

void SystemRelease::operator()(void* memory) const {
  systemCalls().release(memory);
}
