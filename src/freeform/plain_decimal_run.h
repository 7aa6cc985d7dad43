// A run of plain decimals, each after nothing but blanks: the commonest items of a
// statement, and the whole of a block statement written one block a line.
#pragma once

#include <cstddef>
#include <cstdint>

#include "freeform/simple_decimal.h"

/// Where a run of plain decimals ended: the last one read and where its token began.
struct PlainDecimalRun {
  const char* lastStart = nullptr;  // the first byte of the last token read
  SimpleDecimal last;               // the last token read: its end and value
};

/// Reads up to `count` plain decimals (see readSimpleDecimal) from `at`, each preceded only
/// by blanks (space, tab, CR, LF), into first[0..count), within the record that ends at
/// `recordEnd` (bytes up to `readableEnd` may be read). Stops before anything else: another
/// kind of token, a comma, a slash, the end of the record. Returns how many it read;
/// `run` tells where the last one lies.
int32_t readPlainDecimalRun(const char* at, const char* recordEnd, const char* readableEnd,
                            double* first, int32_t count, PlainDecimalRun& run);

/// Reads the record at `line` the way a statement of `count` real items reads a record
/// that gives all of them: `count` plain decimals, each after blanks only, into
/// first[0..count), the rest of the record dropped. The record ends at the first
/// `terminator` byte (a line feed drops the carriage returns just before it), which must
/// lie before `textEnd`; bytes up to `readableEnd` (no earlier than textEnd) may be read.
/// Returns the record's length with its terminator, or 0 when it ends at no terminator
/// before textEnd or holds anything else, which only the full statement can judge.
size_t readPlainDecimalLine(const char* line, const char* textEnd, const char* readableEnd,
                            char terminator, double* first, int32_t count);
