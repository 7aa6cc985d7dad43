#include "runtime/allocate_array.h"

#include <cstdlib>

#include "runtime/report_diagnostic.h"

void* allocateArray(std::initializer_list<uint32_t> factors, uint32_t elementSize) {
  uint32_t bytes = 1;
  bool first = true;
  for (uint32_t factor : factors) {
    if (first) {
      bytes = factor;
      first = false;
    } else if (__builtin_mul_overflow(bytes, factor, &bytes)) {
      reportDiagnostic(179);
    }
  }
  if (__builtin_mul_overflow(bytes, elementSize, &bytes)) reportDiagnostic(179);
  // A zero-sized array still gets an address of its own.
  void* array = std::malloc(bytes == 0 ? 1 : bytes);
  if (array == nullptr) reportDiagnostic(41);
  return array;
}
