#include <cstdint>
#include <limits>

#include "freeform/number_conversion.h"
#include "freeform/number_text.h"

ConversionStatus parseInteger32(const char* text, size_t length, int32_t& value) {
  value = 0;
  const char* p = text;
  const char* end = text + length;
  const bool negative = takeSign(p, end);
  // The magnitude is gathered in 64 bits first, so that the range check below sees
  // the whole number and only a digit string beyond 2^64 - 1 needs its own status.
  uint64_t magnitude = 0;
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  for (; p < end; ++p) {
    if (!isDecimalDigit(*p)) return ConversionStatus::InvalidCharacter;
    const unsigned digit = static_cast<unsigned>(*p - '0');
    if (magnitude > (kMax - digit) / 10) return ConversionStatus::Overflow;
    magnitude = magnitude * 10 + digit;
  }
  const uint64_t limit = negative ? uint64_t{2147483648u} : uint64_t{2147483647u};
  if (magnitude > limit) return ConversionStatus::Overflow;
  const int64_t signedValue =
      negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  value = static_cast<int32_t>(signedValue);
  return ConversionStatus::Ok;
}
