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
// conversion do it; a sweep of random tokens from the bytes that matter shows it, however
// many bytes past the token may be read and whatever they hold.
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
    // Read a byte at a time (nothing readable past the record), and a word at a time with
    // digits past the record, which must not count, and with blanks.
    const size_t recordLength = text.size();
    const std::string digitsPast = text + "98765432109876543210";
    const std::string blanksPast = text + std::string(20, ' ');
    SimpleDecimal forms[3];
    const bool taken0 = readSimpleDecimal(text.data(), text.data() + recordLength,
                                          text.data() + recordLength, forms[0]);
    const bool taken1 = readSimpleDecimal(digitsPast.data(), digitsPast.data() + recordLength,
                                          digitsPast.data() + digitsPast.size(), forms[1]);
    const bool taken2 = readSimpleDecimal(blanksPast.data(), blanksPast.data() + recordLength,
                                          blanksPast.data() + blanksPast.size(), forms[2]);
    ASSERT_EQ(taken0, taken1) << text;
    ASSERT_EQ(taken0, taken2) << text;
    if (!taken0) continue;
    forms[1].end = text.data() + (forms[1].end - digitsPast.data());
    forms[2].end = text.data() + (forms[2].end - blanksPast.data());
    const char* begin = text.data();
    const char* end = begin + recordLength;
    ++taken;
    NumberToken token;
    ASSERT_TRUE(scanNumberToken(begin, end, token)) << text;
    double value = 0;
    ASSERT_EQ(parseReal64(begin, static_cast<size_t>(token.end - begin), value),
              ConversionStatus::Ok)
        << text;
    for (const SimpleDecimal& simple : forms) {
      ASSERT_EQ(simple.end, token.end) << text;
      ASSERT_EQ(simple.integerLooking, token.integerLooking) << text;
      ASSERT_EQ(std::bit_cast<uint64_t>(simple.value), std::bit_cast<uint64_t>(value)) << text;
    }
  }
  EXPECT_GT(taken, 100000);
}

}  // namespace
