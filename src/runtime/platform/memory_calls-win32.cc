// The large-page hint on Windows.
#include "runtime/platform/fill_system_calls.h"

void adviseLargePagesHere(void*, size_t) {
  // Large pages need a privilege that users seldom hold: the hint is not given.
}
