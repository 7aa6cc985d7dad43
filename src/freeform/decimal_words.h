// Decimal digits taken eight at a time, as one 64-bit word, and the bytes that end a plain
// decimal.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

/// Eight bytes at once, as one word: the byte at the lowest address is the word's lowest.
inline constexpr uint64_t kEachByte = 0x0101010101010101u;

/// 10^k, exactly, for k = 0..22.
inline constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

/// 10^k as an integer, for k = 0..8.
inline constexpr uint64_t kIntegerPowers[] = {1,      10,      100,      1000,     10000,
                                              100000, 1000000, 10000000, 100000000};

/// The eight bytes at `p` as a little-endian word, whatever the processor's byte order.
inline uint64_t loadWord(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, sizeof word);
  if constexpr (std::endian::native == std::endian::big) {
    uint64_t swapped = 0;
    for (int i = 0; i < 8; ++i) swapped |= ((word >> (8 * i)) & 0xFF) << (8 * (7 - i));
    word = swapped;
  }
  return word;
}

/// How many of the word's bytes, from the first, are decimal digits (0 to 8). A byte is a
/// digit when its difference from '0' (taken by exclusive or) is below 10; adding 0x76 to
/// the low seven bits sets the top bit of every byte that is not, with no carry between
/// bytes, and a byte with its own top bit set is none either.
inline int leadingDigits(uint64_t word) {
  const uint64_t offset = word ^ (kEachByte * '0');
  const uint64_t notDigit =
      (((offset & (kEachByte * 0x7F)) + kEachByte * 0x76) | offset) & (kEachByte * 0x80);
  return std::countr_zero(notDigit) / 8;
}

/// The value of the first `count` (0 to 8) digits of the word: the digits are moved to the
/// top, so that the others drop out, then joined pairwise into 2, 4 and 8-digit numbers.
inline uint64_t digitsValue(uint64_t word, int count) {
  // No shift by 64 for no digits: the word is kept and the result zeroed.
  uint64_t digits =
      ((word ^ (kEachByte * '0')) << ((64 - 8 * count) & 63)) * static_cast<uint64_t>(count != 0);
  digits = (digits * 10 + (digits >> 8)) & 0x00FF00FF00FF00FFu;
  digits = (digits * 100 + (digits >> 16)) & 0x0000FFFF0000FFFFu;
  return (digits * 10000 + (digits >> 32)) & 0xFFFFFFFFu;
}

/// True when `c` may end a plain decimal inside a record: a blank (space or tab), a comma,
/// a slash or `)`. One test of a bit in a mask of the bytes below 64.
inline bool endsDecimal(char c) {
  constexpr uint64_t kEnders = (uint64_t{1} << ' ') | (uint64_t{1} << '\t') | (uint64_t{1} << ',') |
                               (uint64_t{1} << '/') | (uint64_t{1} << ')');
  const auto byte = static_cast<unsigned char>(c);
  return byte < 64 && ((kEnders >> byte) & 1) != 0;
}
