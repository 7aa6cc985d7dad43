// How boxpaint-view ends when something goes wrong: one line on standard error, a
// non-zero status, and no unfinished output file left behind.
#pragma once

#include <cstdint>
#include <string>

#include "companion/exit_status.h"

// GCC and Clang check the arguments of a printf-style format; other compilers do not.
#if defined(__GNUC__)
#define BOXPAINT_PRINTF_FORMAT(formatAt, firstAt) __attribute__((format(printf, formatAt, firstAt)))
#else
#define BOXPAINT_PRINTF_FORMAT(formatAt, firstAt)
#endif

/// Writes "boxpaint-view: " and the formatted message as one line on standard error,
/// removes the unfinished output file, if any, and ends the process with `status`.
[[noreturn]] void failView(int status, const char* format, ...) BOXPAINT_PRINTF_FORMAT(2, 3);

/// Names the file being read, for failures that the run-time layer finds while reading
/// it; `line`, when not null, points at the number of the record being read (0: unknown).
/// `fileName` nullptr means nothing is being read.
void setViewReading(const char* fileName, const int64_t* line);

/// Makes `path` the unfinished output file that every failure removes (nullptr: none).
void setUnfinishedOutput(const char* path);

/// Routes every failure that ends the run through the one-line error of `failView`, in
/// place of the run-time layer's own diagnostics. Call before the run-time layer starts.
void installViewFailureHook();

/// The one-line error (without the program prefix) for run-time message `number` met
/// while reading `fileName` at `line` (0: line unknown); `recordText`, when not empty,
/// is the text of that record.
std::string describeRuntimeFailure(int number, const char* fileName, int64_t line,
                                   const std::string& recordText);
