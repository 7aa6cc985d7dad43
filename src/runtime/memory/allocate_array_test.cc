#include "runtime/memory/allocate_array.h"

#include <gtest/gtest.h>

namespace {

// The message an allocation fails with, or 0 when it is made (and given back).
int32_t allocationFailure(std::initializer_list<uint32_t> factors, uint32_t elementSize) {
  Failure failure;
  void* array = allocateArray(factors, elementSize, failure);
  EXPECT_EQ(array == nullptr, static_cast<bool>(failure));
  releaseArray(array);
  return numberOf(failure.message);
}

TEST(AllocateArrayTest, SizeOverflowIn32BitsFailsWith179) {
  struct Case {
    std::initializer_list<uint32_t> factors;
    int32_t failure;  // 0: allocated
  } const cases[] = {
      {{536870911u}, 0},            // (n+1) * 8 just fits in 32 bits
      {{536870912u}, 179},          // and one more node does not
      {{65536u, 65536u, 0u}, 179},  // an overflow before a zero factor still counts
      {{0u, 65536u, 65536u}, 0},    // zero early keeps every product zero
      {{1000u, 1000u, 537u}, 179},  // the last multiplication by 8 overflows
      {{1000u, 1000u, 536u}, 0},   {{0u}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(allocationFailure(c.factors, 8), c.failure);
    EXPECT_EQ(numberOf(checkArraySize(c.factors, 8).message), c.failure);
  }
}

TEST(AllocateArrayTest, RefusedMemoryFailsWith41) {
  setArrayByteLimitForTests(1000);
  EXPECT_EQ(allocationFailure({125u}, 8), 0);
  EXPECT_EQ(allocationFailure({126u}, 8), 41);
  setArrayByteLimitForTests(UINT64_MAX);
}

}  // namespace
