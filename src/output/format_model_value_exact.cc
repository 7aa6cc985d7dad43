#include "output/format_model_value_exact.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// An unsigned integer in base 2^64, least significant limb first. The numbers below stay under
// 2^840 (a 53-bit significand times 5^325, then a few factors of ten), well inside 16 limbs.
struct BigNumber {
  uint64_t limb[16];
  int size;  // limbs in use; the top one is non-zero, and zero has size 0
};

// a * b + carry as two limbs: the low one returned, the high one in `high`. Built from
// 32-bit halves, whose products and sums fit in 64 bits.
uint64_t multiplyAdd(uint64_t a, uint64_t b, uint64_t carry, uint64_t& high) {
  const uint64_t aLow = a & 0xffffffff, aHigh = a >> 32;
  const uint64_t bLow = b & 0xffffffff, bHigh = b >> 32;
  const uint64_t lowLow = aLow * bLow;
  const uint64_t middle1 = aHigh * bLow + (lowLow >> 32);
  const uint64_t middle2 = aLow * bHigh + (middle1 & 0xffffffff);
  high = aHigh * bHigh + (middle1 >> 32) + (middle2 >> 32);
  const uint64_t low = (middle2 << 32) | (lowLow & 0xffffffff);
  const uint64_t sum = low + carry;
  if (sum < low) ++high;
  return sum;
}

BigNumber bigFrom(uint64_t value) {
  BigNumber n{};
  n.limb[0] = value;
  n.size = value != 0 ? 1 : 0;
  return n;
}

void multiplySmall(BigNumber& n, uint64_t factor) {
  uint64_t carry = 0;
  for (int i = 0; i < n.size; ++i) {
    uint64_t high;
    n.limb[i] = multiplyAdd(n.limb[i], factor, carry, high);
    carry = high;
  }
  if (carry != 0) n.limb[n.size++] = carry;
}

void multiplyPowerOfFive(BigNumber& n, int power) {
  while (power > 0) {
    const int step = power < 27 ? power : 27;  // 5^27 is the largest power of five in a limb
    uint64_t factor = 1;
    for (int i = 0; i < step; ++i) factor *= 5;
    multiplySmall(n, factor);
    power -= step;
  }
}

void multiplyPowerOfTwo(BigNumber& n, int power) {
  if (n.size == 0) return;
  const int limbs = power / 64;
  const int bits = power % 64;
  for (int i = n.size - 1; i >= 0; --i) n.limb[i + limbs] = n.limb[i];
  for (int i = 0; i < limbs; ++i) n.limb[i] = 0;
  n.size += limbs;
  if (bits > 0) multiplySmall(n, uint64_t{1} << bits);
}

int compare(const BigNumber& a, const BigNumber& b) {
  if (a.size != b.size) return a.size < b.size ? -1 : 1;
  for (int i = a.size - 1; i >= 0; --i) {
    if (a.limb[i] != b.limb[i]) return a.limb[i] < b.limb[i] ? -1 : 1;
  }
  return 0;
}

// a -= b, for a >= b.
void subtract(BigNumber& a, const BigNumber& b) {
  uint64_t borrow = 0;
  for (int i = 0; i < a.size; ++i) {
    const uint64_t subtrahend = i < b.size ? b.limb[i] : 0;
    const uint64_t minuend = a.limb[i];
    a.limb[i] = minuend - subtrahend - borrow;
    // Wrapped below zero: the limb was smaller than what was taken from it.
    borrow = minuend < subtrahend || (minuend == subtrahend && borrow != 0) ? 1 : 0;
  }
  while (a.size > 0 && a.limb[a.size - 1] == 0) --a.size;
}

}  // namespace

void formatModelValueExact(double value, char out[kModelValueWidth]) {
  if (std::isnan(value)) {
    std::memcpy(out, "       NaN", kModelValueWidth);
    return;
  }
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const bool negative = (bits >> 63) != 0;
  const int biasedExponent = static_cast<int>((bits >> 52) & 0x7ff);
  const uint64_t fraction = bits & ((uint64_t{1} << 52) - 1);
  if (biasedExponent == 0x7ff) {
    std::memcpy(out, negative ? " -Infinity" : "  Infinity", kModelValueWidth);
    return;
  }
  if (biasedExponent == 0 && fraction == 0) {
    std::memcpy(out, " 0.000E+00", kModelValueWidth);
    return;
  }

  // The magnitude is significand * 2^binaryExponent exactly.
  const uint64_t significand = biasedExponent == 0 ? fraction : fraction | uint64_t{1} << 52;
  const int binaryExponent = (biasedExponent == 0 ? 1 : biasedExponent) - 1075;

  // First guess at the decimal exponent, from the bit length (log10(2) ~ 78913 / 2^18). It is at
  // most one too small; the exact comparisons below settle it whichever way it is off.
  const int bitLength = std::bit_width(significand);
  int exponent = ((bitLength - 1 + binaryExponent) * 78913) >> 18;

  // magnitude / 10^exponent = significand * 2^(binaryExponent - exponent) * 5^(-exponent), held
  // as numerator / denominator with each power on the side where its exponent is positive.
  BigNumber numerator = bigFrom(significand);
  BigNumber denominator = bigFrom(1);
  const int twos = binaryExponent - exponent;
  multiplyPowerOfTwo(twos > 0 ? numerator : denominator, twos > 0 ? twos : -twos);
  multiplyPowerOfFive(exponent < 0 ? numerator : denominator, exponent < 0 ? -exponent : exponent);

  // Settle 1 <= numerator / denominator < 10.
  while (compare(numerator, denominator) < 0) {
    multiplySmall(numerator, 10);
    --exponent;
  }
  for (;;) {
    BigNumber tenDenominators = denominator;
    multiplySmall(tenDenominators, 10);
    if (compare(numerator, tenDenominators) < 0) break;
    denominator = tenDenominators;
    ++exponent;
  }

  // Long division gives the four leading digits, each found bit by bit from 8, 4, 2 and 1 times
  // the denominator; the remainder then decides the rounding.
  BigNumber multiples[4] = {denominator, denominator, denominator, denominator};
  const int weights[4] = {8, 4, 2, 1};
  for (int m = 0; m < 3; ++m) multiplySmall(multiples[m], weights[m]);
  int kept = 0;
  for (int place = 0; place < 4; ++place) {
    if (place > 0) multiplySmall(numerator, 10);
    int digit = 0;
    for (int m = 0; m < 4; ++m) {
      if (compare(numerator, multiples[m]) >= 0) {
        subtract(numerator, multiples[m]);
        digit += weights[m];
      }
    }
    kept = kept * 10 + digit;
  }
  multiplySmall(numerator, 2);
  const int half = compare(numerator, denominator);
  if (half > 0 || (half == 0 && kept % 2 == 1)) ++kept;
  if (kept == 10000) {
    kept = 1000;
    ++exponent;
  }

  char text[kModelValueWidth];
  text[0] = negative ? '-' : ' ';
  text[1] = static_cast<char>('0' + kept / 1000);
  text[2] = '.';
  text[3] = static_cast<char>('0' + kept / 100 % 10);
  text[4] = static_cast<char>('0' + kept / 10 % 10);
  text[5] = static_cast<char>('0' + kept % 10);
  const int magnitude = exponent < 0 ? -exponent : exponent;
  const char sign = exponent < 0 ? '-' : '+';
  if (magnitude <= 99) {
    text[6] = 'E';
    text[7] = sign;
  } else {
    text[6] = sign;
    text[7] = static_cast<char>('0' + magnitude / 100);
  }
  text[8] = static_cast<char>('0' + magnitude / 10 % 10);
  text[9] = static_cast<char>('0' + magnitude % 10);
  std::memcpy(out, text, kModelValueWidth);
}
