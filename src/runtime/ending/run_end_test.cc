// The one owner of the end of the run: who may claim it.
#include "runtime/ending/run_end.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(RunEndTest, OnlyTheFirstThreadClaimsTheEnd) {
  EXPECT_FALSE(runEndingElsewhere());
  ASSERT_TRUE(tryClaimRunEnd());
  EXPECT_TRUE(tryClaimRunEnd()) << "the owner may claim again";
  EXPECT_FALSE(runEndingElsewhere());
  bool otherClaimed = true;
  bool otherSeesEnding = false;
  std::thread other([&] {
    otherClaimed = tryClaimRunEnd();
    otherSeesEnding = runEndingElsewhere();
  });
  other.join();
  EXPECT_FALSE(otherClaimed);
  EXPECT_TRUE(otherSeesEnding);
  forgetRunEndForTests();
}

}  // namespace
