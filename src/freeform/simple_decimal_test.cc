#include "freeform/simple_decimal.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <string>

#include "freeform/number_conversion.h"
#include "freeform/number_token.h"

namespace {

// Every token the fast form takes is cut and converted exactly as the full scan and
// conversion do it; a sweep of random tokens from the bytes that matter shows it.
TEST(SimpleDecimalTest, AgreesWithTheFullScanAndConversion) {
  const std::string alphabet = "0123456789000..+-eE*,/) \t\r";
  std::mt19937 random(1207);
  int taken = 0;
  for (int trial = 0; trial < 2000000; ++trial) {
    std::string text;
    const size_t length = 1 + random() % 26;
    for (size_t i = 0; i < length; ++i) {
      // Mostly digits, so that long plain decimals come up often.
      const size_t pick = random() % 4 == 0 ? random() % alphabet.size() : random() % 13;
      text += alphabet[pick];
    }
    const char* begin = text.data();
    const char* end = begin + text.size();
    SimpleDecimal simple;
    if (!readSimpleDecimal(begin, end, simple)) continue;
    ++taken;
    NumberToken token;
    ASSERT_TRUE(scanNumberToken(begin, end, token)) << text;
    ASSERT_EQ(simple.end, token.end) << text;
    ASSERT_EQ(simple.integerLooking, token.integerLooking) << text;
    double value = 0;
    ASSERT_EQ(parseReal64(begin, static_cast<size_t>(token.end - begin), value),
              ConversionStatus::Ok)
        << text;
    ASSERT_EQ(std::bit_cast<uint64_t>(simple.value), std::bit_cast<uint64_t>(value)) << text;
  }
  EXPECT_GT(taken, 100000);
}

}  // namespace
