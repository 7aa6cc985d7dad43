#include "runtime/environment/environment_switches.h"

#include <gtest/gtest.h>

namespace {

TEST(SwitchValueTest, TrueForYesWordsAndNonZeroDigitsOnly) {
  struct Case {
    const char* value;
    bool isTrue;
  } const cases[] = {
      {nullptr, false}, {"", false},    {"0", false},     {"00", false}, {"2x", false},
      {"x2", false},    {"no", false},  {"false", false}, {"-1", false}, {" 1", false},
      {"1 ", false},    {"+1", false},  {"on", false},    {"1", true},   {"007", true},
      {"10", true},     {"True", true}, {"t", true},      {"yes", true}, {"y", true},
      {"Y", true},      {"Tx", true},   {"ya99", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(switchValueIsTrue(c.value), c.isTrue) << (c.value ? c.value : "(unset)");
  }
}

}  // namespace
