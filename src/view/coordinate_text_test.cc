#include "view/coordinate_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(CoordinateTextTest, IsShortYetReadsBackExactly) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {6105250, "6105250"}, {6105000, "6105000"},
      {-85.5, "-85.5"},     {0.1 + 0.2, "0.3"},
      {0.75, "0.75"},       {1e-5, "1e-05"},
      {2.5e15, "2.5e+15"},  {123456789012345, "123456789012345"},
      {-0.0, "0"},          {0.0001, "0.0001"},
      {NAN, "NaN"},         {-INFINITY, "-Infinity"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(coordinateText(c.value, shortestDigits(c.value)), c.text) << c.text;
  }
}

TEST(DistinctCoordinateTextsTest, TellsApartNeighboursThatDiffer) {
  // A spacing below 15 digits, as a sum of many small widths may leave.
  const double a = 6105000.0, b = std::nextafter(a, 1e9);
  EXPECT_EQ(distinctCoordinateTexts({a - 250, a, b, b + 250}),
            (std::vector<std::string>{"6104750", "6105000", "6105000.0000000009", "6105250"}));
  EXPECT_EQ(distinctCoordinateTexts({50, 49, 49, 47}),
            (std::vector<std::string>{"50", "49", "49", "47"}));
}

}  // namespace
