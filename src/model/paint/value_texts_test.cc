#include "model/paint/value_texts.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

// Held texts against fresh renderings, over a sequence that returns to a pool of values
// (hits), brings new ones (misses) and makes values share entries (evictions), with
// signed zeros and NaNs of different bits among them, each text put in a place of its own.
TEST(ValueTextsTest, GivesTheTextFormatModelValueRenders) {
  std::mt19937_64 random(17);
  std::vector<double> pool = {0.0,
                              -0.0,
                              1.5,
                              -1.5,
                              1e-310,
                              1e300,
                              std::numeric_limits<double>::infinity(),
                              std::bit_cast<double>(uint64_t{0x7FF8000000000001}),
                              std::bit_cast<double>(uint64_t{0xFFF8000000000000})};
  for (int k = 0; k < 2000; ++k) pool.push_back(std::bit_cast<double>(random()));
  ValueTexts texts;
  constexpr int kSteps = 200000;
  std::vector<char> places(size_t{kSteps} * kModelValueWidth);
  for (int step = 0; step < kSteps; ++step) {
    const double value = random() % 4 == 0 ? pool[random() % 9] : pool[random() % pool.size()];
    char expected[kModelValueWidth];
    formatModelValue(value, expected);
    char* text = places.data() + size_t{static_cast<unsigned>(step)} * kModelValueWidth;
    putValueText(texts, value, text);
    ASSERT_EQ(std::string(text, kModelValueWidth), std::string(expected, kModelValueWidth))
        << std::bit_cast<uint64_t>(value);
  }
}

}  // namespace
