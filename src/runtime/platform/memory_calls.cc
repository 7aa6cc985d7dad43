// Memory, the same on every system: the C library's allocator, with the platform's own
// hint for large blocks.
#include <cstdlib>

#include "runtime/platform/fill_system_calls.h"

namespace {

// Large blocks come as fresh zero pages from the system: nothing is touched before use.
void* allocateZeroed(size_t bytes) {
  return std::calloc(bytes == 0 ? 1 : bytes, 1);
}

void* allocate(size_t bytes) {
  if (bytes >= kLargeAllocation) return allocateLargeHere(bytes);
  return std::malloc(bytes == 0 ? 1 : bytes);
}

void release(void* memory) {
  std::free(memory);
}

}  // namespace

void fillMemoryCalls(SystemCalls& table) {
  table.allocateZeroed = allocateZeroed;
  table.allocate = allocate;
  table.release = release;
  table.adviseLargePages = adviseLargePagesHere;
}
