#include "runtime/memory/allocate_array.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdlib>

#include "runtime/diagnostics/report_diagnostic.h"

namespace {

// The arrays of the run (three node arrays and the cell model), so that a test that
// runs the utility in-process many times can give them back.
constexpr int kMaxArrays = 8;
std::atomic<void*> arrays[kMaxArrays];
std::atomic<uint64_t> byteLimit{UINT64_MAX};

// Asks for large pages on a big array: a model of hundreds of megabytes is then
// filled and read with a few hundred page faults instead of tens of thousands.
void adviseLargePages(void* array, size_t bytes) {
  constexpr uintptr_t kLargePage = 2 * 1024 * 1024;
  uintptr_t start = (reinterpret_cast<uintptr_t>(array) + kLargePage - 1) & ~(kLargePage - 1);
  uintptr_t end = (reinterpret_cast<uintptr_t>(array) + bytes) & ~(kLargePage - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
}

void remember(void* array) {
  for (auto& slot : arrays) {
    void* empty = nullptr;
    if (slot.compare_exchange_strong(empty, array)) return;
  }
}

// The byte size of an array, multiplying left to right in 32-bit unsigned arithmetic;
// message 179 when a step overflows, even when a later factor is zero.
uint32_t arrayByteSize(std::initializer_list<uint32_t> factors, uint32_t elementSize) {
  uint32_t bytes = 1;
  bool first = true;
  for (uint32_t factor : factors) {
    if (first) {
      bytes = factor;
      first = false;
    } else if (__builtin_mul_overflow(bytes, factor, &bytes)) {
      reportSevere(Message::ArraySizeOverflow);
    }
  }
  if (__builtin_mul_overflow(bytes, elementSize, &bytes)) reportSevere(Message::ArraySizeOverflow);
  return bytes;
}

}  // namespace

void checkArraySize(std::initializer_list<uint32_t> factors, uint32_t elementSize) {
  arrayByteSize(factors, elementSize);
}

void* allocateArray(std::initializer_list<uint32_t> factors, uint32_t elementSize) {
  const uint32_t bytes = arrayByteSize(factors, elementSize);
  // A zero-sized array still gets an address of its own. Large arrays come as fresh
  // zero pages from the system: nothing is touched before the run uses it.
  void* array = bytes <= byteLimit.load() ? std::calloc(bytes == 0 ? 1 : bytes, 1) : nullptr;
  if (array == nullptr) reportSevere(Message::OutOfMemory);
  adviseLargePages(array, bytes);
  remember(array);
  return array;
}

void setArrayByteLimitForTests(uint64_t bytes) {
  byteLimit.store(bytes);
}

void releaseArraysForTests() {
  for (auto& slot : arrays) std::free(slot.exchange(nullptr));
}
