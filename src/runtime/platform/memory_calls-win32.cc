// Memory on Windows.
#include <cstdlib>

#include "runtime/platform/fill_system_calls.h"

namespace {

void* allocateZeroed(size_t bytes) {
  return std::calloc(bytes == 0 ? 1 : bytes, 1);
}

void* allocate(size_t bytes) {
  return std::malloc(bytes == 0 ? 1 : bytes);
}

void release(void* memory) {
  std::free(memory);
}

void adviseLargePages(void*, size_t) {
  // Large pages need a privilege that users seldom hold: the hint is not given.
}

}  // namespace

void fillMemoryCalls(SystemCalls& table) {
  table.allocateZeroed = allocateZeroed;
  table.allocate = allocate;
  table.release = release;
  table.adviseLargePages = adviseLargePages;
}
