#include "freeform/plain_decimal_run.h"

#include <cstring>

#include "freeform/number_text.h"

int32_t readPlainDecimalRun(const char* at, const char* recordEnd, const char* readableEnd,
                            double* first, int32_t count, PlainDecimalRun& run) {
  int32_t read = 0;
  while (read < count) {
    const char* next = at;
    while (next < recordEnd && isBlank(*next)) ++next;
    if (next == recordEnd || !readSimpleDecimal(next, recordEnd, readableEnd, run.last)) break;
    first[read++] = run.last.value;
    run.lastStart = next;
    at = run.last.end;
  }
  return read;
}

size_t readPlainDecimalLine(const char* line, const char* textEnd, const char* readableEnd,
                            char terminator, double* first, int32_t count) {
  const void* found = std::memchr(line, terminator, static_cast<size_t>(textEnd - line));
  if (found == nullptr) return 0;
  const char* recordEnd = static_cast<const char*>(found);
  if (terminator == '\n') {
    while (recordEnd > line && recordEnd[-1] == '\r') --recordEnd;
  }
  // The run above, with nothing kept of where each decimal lies: a line is taken whole or
  // not at all, and the values alone stay in registers.
  const char* at = line;
  for (int32_t read = 0; read < count; ++read) {
    while (at < recordEnd && isBlank(*at)) ++at;
    SimpleDecimal decimal;
    if (at == recordEnd || !readSimpleDecimal(at, recordEnd, readableEnd, decimal)) return 0;
    first[read] = decimal.value;
    at = decimal.end;
  }
  return static_cast<size_t>(static_cast<const char*>(found) - line) + 1;
}
