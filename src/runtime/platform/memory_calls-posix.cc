// Large pages on a POSIX system: the hint, and blocks laid out for it.
#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>

#include "runtime/platform/fill_system_calls.h"

namespace {

constexpr uintptr_t kLargePage = 2 * 1024 * 1024;

}  // namespace

// A model of hundreds of megabytes is then filled and read with a few hundred page
// faults instead of tens of thousands.
void adviseLargePagesHere(void* memory, size_t bytes) {
  const uintptr_t start =
      (reinterpret_cast<uintptr_t>(memory) + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(kLargePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

// Page faults cost microseconds each: a block filled once, front to back, is laid on whole
// large pages of its own, a fault each, rather than hundreds of small ones.
void* allocateLargeHere(size_t bytes) {
  if (bytes > SIZE_MAX - kLargePage) return nullptr;
  const size_t whole = (bytes + kLargePage - 1) & ~(kLargePage - 1);
  void* memory = nullptr;
  // Aligning takes up to a large page more of address space: under a limit on it, a
  // block that fits only unaligned is had that way.
  if (posix_memalign(&memory, kLargePage, whole) != 0) return std::malloc(bytes);
  adviseLargePagesHere(memory, whole);
  return memory;
}
