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
