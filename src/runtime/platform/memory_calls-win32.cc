// Large pages on Windows: none.
#include <cstdlib>

#include "runtime/platform/fill_system_calls.h"

void adviseLargePagesHere(void*, size_t) {
  // Large pages need a privilege that users seldom hold: the hint is not given.
}

void* allocateLargeHere(size_t bytes) {
  return std::malloc(bytes);
}
