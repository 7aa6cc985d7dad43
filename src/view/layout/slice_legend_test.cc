#include "view/layout/slice_legend.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::vector<std::string> texts(const std::vector<LegendTick>& ticks) {
  std::vector<std::string> result;
  for (const LegendTick& tick : ticks) result.push_back(tick.text);
  return result;
}

TEST(LegendTicksTest, MarksRoundValuesOrEveryPowerOfTenInOneForm) {
  const ColourScale log{0.01, 1000, true, true, false};
  const std::vector<LegendTick> ticks = legendTicks(log, 600, 20);
  EXPECT_EQ(texts(ticks), (std::vector<std::string>{"0.01", "0.1", "1", "10", "100", "1000"}));
  EXPECT_DOUBLE_EQ(ticks[2].place, 0.4);  // 1 lies two fifths of the way up
  // Too many powers of ten to label: every one is marked, every few labelled.
  const ColourScale wide{1e-6, 1e6, true, true, false};
  EXPECT_EQ(texts(legendTicks(wide, 200, 20)),
            (std::vector<std::string>{"1e-06", "", "", "1e-03", "", "", "1e+00", "", "", "1e+03",
                                      "", "", "1e+06"}));
  const ColourScale decade{10, 1000, true, true, false};
  EXPECT_EQ(texts(legendTicks(decade, 100, 20)), (std::vector<std::string>{"10", "100", "1000"}));
  const ColourScale linear{0, 0.08, true};
  EXPECT_EQ(texts(legendTicks(linear, 200, 20)),
            (std::vector<std::string>{"0.00", "0.02", "0.04", "0.06", "0.08"}));
  // However tall the bar, about eight labels at the most.
  for (const double length : {400.0, 1000.0, 8000.0}) {
    EXPECT_EQ(texts(legendTicks(linear, length, 20)),
              (std::vector<std::string>{"0.00", "0.02", "0.04", "0.06", "0.08"}))
        << length;
  }
  EXPECT_EQ(legendTicks(ColourScale{0, 7, true}, 8000, 20).size(), 8u);
  const ColourScale uneven{0.013, 0.087, true};
  EXPECT_EQ(texts(legendTicks(uneven, 200, 20)),
            (std::vector<std::string>{"0.02", "0.04", "0.06", "0.08"}));
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
