#include "view/slice_legend.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<std::string> texts(const std::vector<LegendTick>& ticks) {
  std::vector<std::string> result;
  for (const LegendTick& tick : ticks) result.push_back(tick.text);
  return result;
}

TEST(LegendTicksTest, LabelsTheEndsAndRoundValuesOrPowersOfTen) {
  ColourScale log{0.01, 1000, true, true, false};
  const std::vector<LegendTick> ticks = legendTicks(log, 600, 20);
  EXPECT_EQ(texts(ticks), (std::vector<std::string>{"0.01", "1000", "0.1", "1", "10", "100"}));
  EXPECT_DOUBLE_EQ(ticks[3].place, 0.4);  // 1 lies two fifths of the way up
  const ColourScale linear{0, 0.08, true};
  EXPECT_EQ(texts(legendTicks(linear, 100, 20)), (std::vector<std::string>{"0", "0.08", "0.05"}));
  EXPECT_EQ(texts(legendTicks(ColourScale{2, 2, true}, 100, 20)), (std::vector<std::string>{"2"}));
  EXPECT_TRUE(legendTicks(ColourScale{}, 100, 20).empty());
}

TEST(LegendSwatchesTest, ShowsTheColoursBeyondTheRampThatTheSliceUses) {
  const ColourScale limited{1, 10, true, false, true};
  const std::vector<LegendSwatch> all = legendSwatches(limited, {NAN, 0.5, 5, 50});
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].text, "above 10");
  EXPECT_EQ(all[0].colour, kOverColour);
  EXPECT_EQ(all[1].text, "below 1");
  EXPECT_EQ(all[1].colour, kUnderColour);
  EXPECT_EQ(all[2].text, "NaN");
  const ColourScale log{1, 10, true, true, false};
  const std::vector<LegendSwatch> under = legendSwatches(log, {-1, 5});
  ASSERT_EQ(under.size(), 1u);
  EXPECT_EQ(under[0].text, "0 or below");
  EXPECT_TRUE(legendSwatches(log, {1, 5, 10}).empty());
}

}  // namespace
