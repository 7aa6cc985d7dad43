#include "check/shortest_number.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace {

TEST(NumberTextTest, IsTheShortestTextThatReadsBackExactly) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {100, "100"},
      {0.05, "0.05"},
      {1e50, "1e+50"},
      {-0.0, "-0"},
      {-2518.86, "-2518.86"},
      {0.1 + 0.2, "0.30000000000000004"},
      {5e-324, "5e-324"},
      {DBL_MAX, "1.7976931348623157e+308"},
      {NAN, "NaN"},
      {INFINITY, "Infinity"},
      {-INFINITY, "-Infinity"},
  };
  for (const Case& c : cases) {
    std::string text;
    appendNumber(text, c.value);
    EXPECT_EQ(text, c.text);
  }
}

}  // namespace
