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
  PlainDecimalRun run;
  if (readPlainDecimalRun(line, recordEnd, readableEnd, first, count, run) != count) return 0;
  return static_cast<size_t>(static_cast<const char*>(found) - line) + 1;
}
