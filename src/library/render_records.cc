#include "library/render_records.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "output/format_model_value.h"

namespace {

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLargestExactPower = 22;

// Decimal exponents the quick form takes: those whose four digits come from scaling by an
// exact power of ten.
constexpr int kFewestExponent = 3 - kLargestExactPower;
constexpr int kMostExponent = 3 + kLargestExactPower;

// 10^e for each exponent the quick form takes, and the one above the last, rounded to
// doubles: where a value stands against them says its decimal exponent.
constexpr std::array<double, kMostExponent - kFewestExponent + 2> kPowerBounds = [] {
  std::array<double, kMostExponent - kFewestExponent + 2> bounds{};
  for (int e = kFewestExponent; e <= kMostExponent + 1; ++e) {
    bounds[e - kFewestExponent] =
        e >= 0 ? kExactPowers[e > kLargestExactPower ? kLargestExactPower : e] *
                     (e > kLargestExactPower ? kExactPowers[e - kLargestExactPower] : 1.0)
               : 1.0 / kExactPowers[-e];
  }
  return bounds;
}();

// "E+dd" and "E-dd" for each exponent the quick form takes.
constexpr std::array<std::array<char, 4>, kMostExponent - kFewestExponent + 1> kExponentTexts = [] {
  std::array<std::array<char, 4>, kMostExponent - kFewestExponent + 1> texts{};
  for (int e = kFewestExponent; e <= kMostExponent; ++e) {
    const int size = e < 0 ? -e : e;
    texts[e - kFewestExponent] = {'E', e < 0 ? '-' : '+', static_cast<char>('0' + size / 10),
                                  static_cast<char>('0' + size % 10)};
  }
  return texts;
}();

// "d.ddd" for each four digits from 0000 to 9999, eight bytes apart.
constexpr std::array<std::array<char, 8>, 10000> kDigitTexts = [] {
  std::array<std::array<char, 8>, 10000> texts{};
  for (int kept = 0; kept < 10000; ++kept) {
    texts[kept] = {static_cast<char>('0' + kept / 1000), '.',
                   static_cast<char>('0' + kept / 100 % 10),
                   static_cast<char>('0' + kept / 10 % 10), static_cast<char>('0' + kept % 10)};
  }
  return texts;
}();

// The text of `value` as formatModelValue writes it, for a finite normal value whose
// decimal exponent lies within 22 of 3: its four digits from one rounded product or
// quotient by an exact power of ten (see formatModelValue), with the exponent found by
// comparison rather than corrected after the product, so that a stream of values takes
// few unforeseen branches. False, with nothing written, for every other value, and for a
// product on a half or beyond its decade, which a bound misjudged near a power of ten gives.
inline bool quickText(double value, char* out) {
  const uint64_t bits = std::bit_cast<uint64_t>(value);
  const double magnitude = std::fabs(value);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  // floor(binary exponent * log10(2)): the decimal exponent, or one less.
  int exponent = ((biased - 1023) * 78913) >> 18;
  if (exponent < kFewestExponent || exponent > kMostExponent || biased == 0) return false;
  exponent += magnitude >= kPowerBounds[exponent + 1 - kFewestExponent];
  if (exponent > kMostExponent) return false;
  const int power = 3 - exponent;
  const double digits =
      power >= 0 ? magnitude * kExactPowers[power] : magnitude / kExactPowers[-power];
  // Below 2^31 and positive: the conversion cuts towards zero, which is the floor, in one
  // instruction where std::floor is a call on the baseline x86-64.
  if (!(digits >= 1000.0 && digits < 10000.0)) return false;
  const uint32_t whole = static_cast<uint32_t>(digits);
  const double fraction = digits - whole;
  if (fraction == 0.5) return false;
  uint32_t kept = whole + static_cast<uint32_t>(fraction > 0.5);
  if (kept == 10000) {
    if (++exponent > kMostExponent) return false;
    kept = 1000;
  }
  out[0] = static_cast<int64_t>(bits) < 0 ? '-' : ' ';
  std::memcpy(out + 1, kDigitTexts[kept].data(), 5);
  std::memcpy(out + 6, kExponentTexts[exponent - kFewestExponent].data(), 4);
  return true;
}

// Writes the text of each value `Length` bytes apart, and behind it `terminator` when
// `Terminated`; else the bytes behind each text are left alone.
template <size_t Length, bool Terminated>
void renderEach(const double* values, size_t count, std::string_view terminator, char* out) {
  // A model painted from blocks holds long runs of one value; random values pay one
  // comparison each for that.
  uint64_t previous = 0;
  for (size_t i = 0; i < count; ++i, out += Length) {
    const uint64_t bits = std::bit_cast<uint64_t>(values[i]);
    if (i > 0 && bits == previous) {
      std::memcpy(out, out - Length, Terminated ? Length : kModelValueWidth);
      continue;
    }
    if (!quickText(values[i], out)) formatModelValue(values[i], out);
    if (Terminated) {
      std::memcpy(out + kModelValueWidth, terminator.data(), Length - kModelValueWidth);
    }
    previous = bits;
  }
}

}  // namespace

std::string_view terminatorBytes(boxpaint::Terminator terminator) {
  switch (terminator) {
    case boxpaint::Terminator::LF:
      return "\n";
    case boxpaint::Terminator::CR:
      return "\r";
    case boxpaint::Terminator::CRLF:
      break;
  }
  return "\r\n";
}

void renderRecords(const double* values, size_t count, std::string_view terminator, char* out) {
  if (terminator.size() == 2) {
    renderEach<kModelValueWidth + 2, true>(values, count, terminator, out);
  } else {
    renderEach<kModelValueWidth + 1, true>(values, count, terminator, out);
  }
}

void renderTexts(const double* values, size_t count, size_t stride, char* out) {
  if (stride == kModelValueWidth + 2) {
    renderEach<kModelValueWidth + 2, false>(values, count, {}, out);
  } else if (stride == kModelValueWidth + 1) {
    renderEach<kModelValueWidth + 1, false>(values, count, {}, out);
  } else {
    for (size_t i = 0; i < count; ++i) formatModelValue(values[i], out + i * stride);
  }
}

namespace boxpaint {

size_t recordLength(Terminator terminator) {
  return terminator == Terminator::CRLF ? kValueWidth + 2 : kValueWidth + 1;
}

void renderModelRecords(std::span<const double> values, Terminator terminator, char* out) {
  renderRecords(values.data(), values.size(), terminatorBytes(terminator), out);
}

}  // namespace boxpaint
