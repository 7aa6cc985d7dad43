// Memory on a POSIX system.
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

#include "runtime/platform/fill_system_calls.h"

namespace {

void* allocateZeroed(size_t bytes) {
  // Large blocks come as fresh zero pages from the system: nothing is touched before use.
  return std::calloc(bytes == 0 ? 1 : bytes, 1);
}

void* allocate(size_t bytes) {
  return std::malloc(bytes == 0 ? 1 : bytes);
}

void release(void* memory) {
  std::free(memory);
}

// A model of hundreds of megabytes is then filled and read with a few hundred page
// faults instead of tens of thousands.
void adviseLargePages(void* memory, size_t bytes) {
  constexpr uintptr_t kLargePage = 2 * 1024 * 1024;
  const uintptr_t start =
      (reinterpret_cast<uintptr_t>(memory) + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(kLargePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

}  // namespace

void fillMemoryCalls(SystemCalls& table) {
  table.allocateZeroed = allocateZeroed;
  table.allocate = allocate;
  table.release = release;
  table.adviseLargePages = adviseLargePages;
}
