// The large-page hint on a POSIX system.
#include <sys/mman.h>

#include <cstdint>

#include "runtime/platform/fill_system_calls.h"

// A model of hundreds of megabytes is then filled and read with a few hundred page
// faults instead of tens of thousands.
void adviseLargePagesHere(void* memory, size_t bytes) {
  constexpr uintptr_t kLargePage = 2 * 1024 * 1024;
  const uintptr_t start =
      (reinterpret_cast<uintptr_t>(memory) + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(kLargePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}
