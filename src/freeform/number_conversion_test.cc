#include "freeform/number_conversion.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace {

using Status = ConversionStatus;

const double kInf = std::numeric_limits<double>::infinity();
const double kMax = std::numeric_limits<double>::max();
const double kMinSubnormal = std::numeric_limits<double>::denorm_min();

uint64_t bitsOf(double value) {
  return std::bit_cast<uint64_t>(value);
}

Status parseReal(const std::string& text, double& value) {
  return parseReal64(text.data(), text.size(), value);
}

struct IntegerCase {
  const char* text;
  Status status;
  int32_t value;
};

TEST(ParseInteger32Test, AcceptsASignAndDigitsWithinThe32BitRange) {
  const IntegerCase cases[] = {
      {"0", Status::Ok, 0},
      {"+17", Status::Ok, 17},
      {"-0", Status::Ok, 0},
      {"2147483647", Status::Ok, 2147483647},
      {"-2147483648", Status::Ok, INT32_MIN},
      {"0000000000000000000000000000042", Status::Ok, 42},
      {"+", Status::Ok, 0},  // a sign with no digits reads as 0
      {"2147483648", Status::Overflow, 0},
      {"-2147483649", Status::Overflow, 0},
      {"18446744073709551615", Status::Overflow, 0},  // fits 64 bits, not 32
      {"18446744073709551616", Status::Overflow, 0},  // beyond 64 bits
      {"1+5", Status::InvalidCharacter, 0},
      {"1.5", Status::InvalidCharacter, 0},
      {"1e3", Status::InvalidCharacter, 0},
      {"INF", Status::InvalidCharacter, 0},
      {"--1", Status::InvalidCharacter, 0},
      {"12 ", Status::InvalidCharacter, 0},
  };
  for (const IntegerCase& c : cases) {
    int32_t value = 99;
    EXPECT_EQ(parseInteger32(c.text, std::strlen(c.text), value), c.status) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

struct RealCase {
  const char* name;
  std::string text;
  double value;
};

TEST(ParseReal64Test, ReadsMantissasAndExponents) {
  const RealCase cases[] = {
      {"trailing period", "100.", 100},
      {"leading period", ".05", 0.05},
      {"E exponent", "1e3", 1000},
      {"D exponent", "1d3", 1000},
      {"Q exponent", "1Q3", 1000},
      {"signed exponent", "1.5E+03", 1500},
      {"plus sign", "+1", 1},
      {"sign alone starts the exponent", "1.5+3", 1500},
      {"minus alone starts the exponent", "2-1", 0.2},
      {"plain integer", "7", 7},
      {"letter without digits is exponent 0", "1e", 1},
      {"letter and sign without digits", "1e-", 1},
      {"exponent zero", "2.5e0", 2.5},
      {"exponent zeros are not significant", "1e0000000005", 1e5},
      {"negative exponent of zeros", "3d-0000000", 3},
      {"one tenth", "0.1", 0.1},
      {"largest exact power of ten", "1e22", 1e22},
      {"first inexact power of ten", "1e23", 1e23},
      {"2^53 itself", "9007199254740992e-22", 9007199254740992e-22},
      {"leading zeros move the point", "000.000125", 0.000125},
      {"2^53+1 ties to even", "9007199254740993", 9007199254740992.0},
      {"a 29th digit breaks the tie", "9007199254740993.0000000000001", 9007199254740994.0},
      // Far outside the exponent range, the digits bring the value back into it.
      {"many fraction zeros", "0." + std::string(400, '0') + "1e400", 0.1},
      {"many integer zeros", "1" + std::string(400, '0') + "e-400", 1.0},
      {"largest double", "1.7976931348623157e308", kMax},
      {"rounds down to the largest double", "1.7976931348623158e308", kMax},
      {"smallest normal", "2.2250738585072014e-308", 0x1p-1022},
      {"largest subnormal", "2.2250738585072009e-308", 0x0.fffffffffffffp-1022},
      {"smallest subnormal", "4.9e-324", kMinSubnormal},
      {"rounds up to the smallest subnormal", "3e-324", kMinSubnormal},
      {"just above half the smallest subnormal", "2.4703282292062328e-324", kMinSubnormal},
      {"just below half the smallest subnormal", "2.4703282292062327e-324", 0.0},
      {"rounds to zero", "2e-324", 0.0},
      {"far below the range", "1e-400", 0.0},
      {"seven-digit negative exponent", "1e-1000000", 0.0},
      {"zero mantissa with a huge exponent", "0e9999999", 0.0},
      {"zero mantissa with a period only", "0.", 0.0},
  };
  for (const RealCase& c : cases) {
    double value = -1;
    EXPECT_EQ(parseReal(c.text, value), Status::Ok) << c.name;
    EXPECT_EQ(bitsOf(value), bitsOf(c.value)) << c.name << ": " << value;
  }
}

// Only 27 significant digits count exactly; later digits act as a single 1 after them.
// Reference values were found with exact rational arithmetic.
TEST(ParseReal64Test, KeepsTwentySevenDigitsAndAStickyDigit) {
  const RealCase cases[] = {
      // 1562583.092043927521444857120513916015625 lies exactly halfway between two
      // doubles; its 27-digit head lies below that point.
      {"27-digit head of a tie", "1.56258309204392752144485712e6", 0x1.7d7d7179030dap+20},
      {"28th digit zero adds nothing", "1.562583092043927521444857120e6", 0x1.7d7d7179030dap+20},
      {"non-zero 29th digit lifts above the tie", "1.5625830920439275214448571201e6",
       0x1.7d7d7179030dbp+20},
      // Written in full, the tie's tail becomes a sticky 1 and the value rounds up
      // where the exact tie would go to the even neighbour below.
      {"an exact tie written in full", "1.562583092043927521444857120513916015625e6",
       0x1.7d7d7179030dbp+20},
      // Halfway between the largest double and 2^1024, written with 28+ digits, stays
      // finite: the sticky 1 sits below the exact halfway point.
      {"halfway to overflow in full", "1.797693134862315807937289714e308", kMax},
      {"27 digits below halfway to overflow", "1.79769313486231580793728971e308", kMax},
      // 1.5 times the smallest subnormal, an exact tie, in its first 27 digits + 1.
      {"subnormal tie, 28 digits", "7.41098468761869816264853189e-324", kMinSubnormal},
      {"subnormal just above the tie", "7.41098468761869816264853190e-324", 2 * kMinSubnormal},
  };
  for (const RealCase& c : cases) {
    double value = -1;
    EXPECT_EQ(parseReal(c.text, value), Status::Ok) << c.name;
    EXPECT_EQ(bitsOf(value), bitsOf(c.value)) << c.name << ": " << value;
  }
  // Forty digits: digits 28..40 count only as whether any of them is non-zero.
  const std::string head = "123456789012345678901234567";
  double forty = 0, replaced = 0, zeros = 0, kept = 0;
  ASSERT_EQ(parseReal(head + "0000000000003", forty), Status::Ok);
  ASSERT_EQ(parseReal(head + "1000000000000", replaced), Status::Ok);
  ASSERT_EQ(parseReal(head + "0000000000000", zeros), Status::Ok);
  ASSERT_EQ(parseReal(head + "e13", kept), Status::Ok);
  EXPECT_EQ(bitsOf(forty), bitsOf(replaced));
  EXPECT_EQ(bitsOf(zeros), bitsOf(kept));
}

TEST(ParseReal64Test, KeepsTheSignOfZeroAndOfTheResult) {
  const RealCase cases[] = {
      {"minus zero", "-0", -0.0},
      {"minus zero with exponent", "-0.000e-400", -0.0},
      {"minus zero, huge exponent", "-0e9999999", -0.0},
      {"negative underflow", "-1e-400", -0.0},
      {"negative seven-digit exponent", "-5e-1234567", -0.0},
      {"negative value", "-2.5", -2.5},
      {"negative infinity", "-Infinity", -kInf},
      {"infinity", "INF", kInf},
      {"lower case infinity", "inf", kInf},
      {"spelled out", "+iNfInItY", kInf},
  };
  for (const RealCase& c : cases) {
    double value = -1;
    EXPECT_EQ(parseReal(c.text, value), Status::Ok) << c.name;
    EXPECT_EQ(bitsOf(value), bitsOf(c.value)) << c.name << ": " << value;
  }
  for (const char* text : {"NaN", "nan(x1)", "NAN()", "-nan(A_b9)"}) {
    double value = 0;
    EXPECT_EQ(parseReal(text, value), Status::Ok) << text;
    EXPECT_TRUE(std::isnan(value)) << text;
  }
}

struct FailureCase {
  std::string text;
  Status status;
};

TEST(ParseReal64Test, RejectsOverflowAndLeftoverText) {
  const FailureCase cases[] = {
      {"1e309", Status::Overflow},
      {"-1e309", Status::Overflow},
      {"1.797693134862315808e308", Status::Overflow},  // past halfway to 2^1024
      {"1.79769313486231580793728972e308", Status::Overflow},
      {"1e1000000", Status::Overflow},  // seven exponent digits
      {"1e999999", Status::Overflow},
      {"1" + std::string(400, '0'), Status::Overflow},
      {"INFX", Status::LeftoverText},
      {"INFIN", Status::LeftoverText},
      {"INFINITYX", Status::LeftoverText},
      {"NANX", Status::LeftoverText},
      {"nan(", Status::LeftoverText},
      {"nan(x-1)", Status::LeftoverText},
      {"nan(x))", Status::LeftoverText},
      {"I", Status::LeftoverText},
      {"N", Status::LeftoverText},
      {"1e5+3", Status::LeftoverText},  // a second exponent sign
      {"1e.5", Status::LeftoverText},   // a period inside the exponent
      {"1.5.3", Status::LeftoverText},
      {"0e1.5", Status::LeftoverText},  // leftover counts even for a zero mantissa
      {".", Status::InvalidCharacter},
      {"+", Status::InvalidCharacter},
      {"e5", Status::InvalidCharacter},
      {".+5", Status::InvalidCharacter},
  };
  for (const FailureCase& c : cases) {
    double value = -1;
    EXPECT_EQ(parseReal(c.text, value), c.status) << c.text;
    EXPECT_EQ(value, 0.0) << c.text;
  }
}

// Text that the library reads on its own (at most 27 digits, an E exponent) must give
// the library's double; and every double must come back from its shortest text.
TEST(ParseReal64Test, AgreesWithTheLibraryOnShortText) {
  std::mt19937_64 random(20240611);
  for (int i = 0; i < 20000; ++i) {
    const double original = std::bit_cast<double>(random());
    if (!std::isfinite(original)) continue;
    char text[64];
    char* end = std::to_chars(text, text + sizeof text, original).ptr;
    double value = 1;
    ASSERT_EQ(parseReal64(text, static_cast<size_t>(end - text), value), Status::Ok) << text;
    ASSERT_EQ(bitsOf(value), bitsOf(original)) << text;
  }
  // Up to 27 digits over the whole range, then short mantissas with small exponents,
  // where a single exact multiplication or division stands in for the library.
  const struct {
    int maxDigits;
    int minExponent;
    int maxExponent;
  } ranges[] = {{27, -360, 330}, {17, -40, 40}};
  for (const auto& range : ranges) {
    std::uniform_int_distribution<int> digitCount(1, range.maxDigits);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> exponent(range.minExponent, range.maxExponent);
    for (int i = 0; i < 20000; ++i) {
      std::string text;
      const int count = digitCount(random);
      const int period = std::uniform_int_distribution<int>(0, count)(random);
      for (int k = 0; k < count; ++k) {
        if (k == period) text += '.';
        text += static_cast<char>('0' + digit(random));
      }
      text += 'e' + std::to_string(exponent(random));
      double expected = 0;
      const auto result = std::from_chars(text.data(), text.data() + text.size(), expected);
      double value = 0;
      const Status status = parseReal(text, value);
      if (result.ec == std::errc::result_out_of_range) {
        // The library reports both overflow and underflow this way.
        if (status == Status::Ok) {
          ASSERT_EQ(value, 0.0) << text;
        }
        continue;
      }
      ASSERT_EQ(status, Status::Ok) << text;
      ASSERT_EQ(bitsOf(value), bitsOf(expected)) << text;
    }
  }
}

TEST(RealToInteger32Test, TruncatesTowardZero) {
  const struct {
    double value;
    int32_t expected;
  } cases[] = {
      {3.0, 3},
      {-2.9, -2},
      {20.0, 20},
      {0.99, 0},
      {-0.0, 0},
      {2147483647.9, 2147483647},
      {-2147483648.9, INT32_MIN},
      {2147483648.0, INT32_MIN},
      {-2147483649.0, INT32_MIN},
      {1e10, INT32_MIN},
      {kInf, INT32_MIN},
      {std::numeric_limits<double>::quiet_NaN(), INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(realToInteger32(c.value), c.expected) << c.value;
}

}  // namespace
