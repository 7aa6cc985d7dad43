#include "runtime/memory/allocate_array.h"

#include <atomic>

#include "runtime/platform/system_calls.h"

namespace {

std::atomic<uint64_t> byteLimit{UINT64_MAX};

// a * b into `product`; false when it does not fit in 32 bits: the product of two 32-bit
// numbers always fits in 64.
bool productIn32Bits(uint32_t a, uint32_t b, uint32_t& product) {
  const uint64_t wide = uint64_t{a} * b;
  product = static_cast<uint32_t>(wide);
  return wide <= UINT32_MAX;
}

// The byte size of an array, multiplying left to right in 32-bit unsigned arithmetic;
// false when a step overflows, even when a later factor is zero.
bool arrayByteSize(std::initializer_list<uint32_t> factors, uint32_t elementSize, uint32_t& bytes) {
  bytes = 1;
  bool first = true;
  for (uint32_t factor : factors) {
    if (first) {
      bytes = factor;
      first = false;
    } else if (!productIn32Bits(bytes, factor, bytes)) {
      return false;
    }
  }
  return productIn32Bits(bytes, elementSize, bytes);
}

}  // namespace

Failure checkArraySize(std::initializer_list<uint32_t> factors, uint32_t elementSize) {
  uint32_t bytes = 0;
  return arrayByteSize(factors, elementSize, bytes) ? Failure{}
                                                    : failureOf(Message::ArraySizeOverflow);
}

void* allocateArray(std::initializer_list<uint32_t> factors, uint32_t elementSize,
                    Failure& failure) {
  uint32_t bytes = 0;
  if (!arrayByteSize(factors, elementSize, bytes)) {
    failure = failureOf(Message::ArraySizeOverflow);
    return nullptr;
  }
  // A zero-sized array still gets an address of its own.
  SystemCalls& system = systemCalls();
  void* array = bytes <= byteLimit.load() ? system.allocateZeroed(bytes) : nullptr;
  if (array == nullptr) {
    failure = failureOf(Message::OutOfMemory);
    return nullptr;
  }
  system.adviseLargePages(array, bytes);
  return array;
}

void releaseArray(void* array) {
  systemCalls().release(array);
}

void setArrayByteLimitForTests(uint64_t bytes) {
  byteLimit.store(bytes);
}
