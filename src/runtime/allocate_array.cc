#include "runtime/allocate_array.h"

#include <atomic>
#include <cstdlib>

#include "runtime/report_diagnostic.h"

namespace {

// The arrays of the run (three node arrays and the cell model), so that a test that
// runs the utility in-process many times can give them back.
constexpr int kMaxArrays = 8;
std::atomic<void*> arrays[kMaxArrays];
std::atomic<uint64_t> byteLimit{UINT64_MAX};

void remember(void* array) {
  for (auto& slot : arrays) {
    void* empty = nullptr;
    if (slot.compare_exchange_strong(empty, array)) return;
  }
}

}  // namespace

void* allocateArray(std::initializer_list<uint32_t> factors, uint32_t elementSize) {
  uint32_t bytes = 1;
  bool first = true;
  for (uint32_t factor : factors) {
    if (first) {
      bytes = factor;
      first = false;
    } else if (__builtin_mul_overflow(bytes, factor, &bytes)) {
      reportDiagnostic(179);
    }
  }
  if (__builtin_mul_overflow(bytes, elementSize, &bytes)) reportDiagnostic(179);
  // A zero-sized array still gets an address of its own.
  void* array = bytes <= byteLimit.load() ? std::malloc(bytes == 0 ? 1 : bytes) : nullptr;
  if (array == nullptr) reportDiagnostic(41);
  remember(array);
  return array;
}

void setArrayByteLimitForTests(uint64_t bytes) {
  byteLimit.store(bytes);
}

void releaseArraysForTests() {
  for (auto& slot : arrays) std::free(slot.exchange(nullptr));
}
