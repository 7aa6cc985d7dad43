#include "runtime/memory/allocate_array.h"

#include <gtest/gtest.h>

#include "runtime/process/test_end_hook.h"

namespace {

TEST(AllocateArrayTest, SizeOverflowIn32BitsEndsWith179) {
  struct Case {
    std::initializer_list<uint32_t> factors;
    int status;  // -1: allocated
  } const cases[] = {
      {{536870911u}, -1},           // (n+1) * 8 just fits in 32 bits
      {{536870912u}, 179},          // and one more node does not
      {{65536u, 65536u, 0u}, 179},  // an overflow before a zero factor still counts
      {{0u, 65536u, 65536u}, -1},   // zero early keeps every product zero
      {{1000u, 1000u, 537u}, 179},  // the last multiplication by 8 overflows
      {{1000u, 1000u, 536u}, -1},  {{0u}, -1},
  };
  for (const Case& c : cases) {
    int status = endStatusOf([&] { allocateArray(c.factors, 8); });
    EXPECT_EQ(status, c.status);
    releaseArraysForTests();
  }
}

TEST(AllocateArrayTest, RefusedMemoryEndsWith41) {
  setArrayByteLimitForTests(1000);
  EXPECT_EQ(endStatusOf([] { allocateArray({125u}, 8); }), -1);
  EXPECT_EQ(endStatusOf([] { allocateArray({126u}, 8); }), 41);
  setArrayByteLimitForTests(UINT64_MAX);
  releaseArraysForTests();
}

}  // namespace
