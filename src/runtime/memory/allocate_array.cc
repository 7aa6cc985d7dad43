#include "runtime/memory/allocate_array.h"

#include <atomic>

#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/platform/system_calls.h"

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

// a * b, or message 179 when it does not fit in 32 bits: the product of two 32-bit numbers
// always fits in 64.
uint32_t productIn32Bits(uint32_t a, uint32_t b) {
  const uint64_t product = uint64_t{a} * b;
  if (product > UINT32_MAX) reportSevere(Message::ArraySizeOverflow);
  return static_cast<uint32_t>(product);
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
    } else {
      bytes = productIn32Bits(bytes, factor);
    }
  }
  return productIn32Bits(bytes, elementSize);
}

}  // namespace

void checkArraySize(std::initializer_list<uint32_t> factors, uint32_t elementSize) {
  arrayByteSize(factors, elementSize);
}

void* allocateArray(std::initializer_list<uint32_t> factors, uint32_t elementSize) {
  const uint32_t bytes = arrayByteSize(factors, elementSize);
  // A zero-sized array still gets an address of its own.
  SystemCalls& system = systemCalls();
  void* array = bytes <= byteLimit.load() ? system.allocateZeroed(bytes) : nullptr;
  if (array == nullptr) reportSevere(Message::OutOfMemory);
  system.adviseLargePages(array, bytes);
  remember(array);
  return array;
}

void setArrayByteLimitForTests(uint64_t bytes) {
  byteLimit.store(bytes);
}

void releaseArraysForTests() {
  for (auto& slot : arrays) systemCalls().release(slot.exchange(nullptr));
}
