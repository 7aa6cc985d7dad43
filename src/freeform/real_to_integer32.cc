#include <cstdint>

#include "freeform/number_conversion.h"

int32_t realToInteger32(double value) {
  // Written so that a NaN fails the test as well: every value whose truncation does
  // not fit takes the one out-of-range result.
  if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(value);
}
