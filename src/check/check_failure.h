// How boxpaint-check ends when reading stops: it says where, and what boxpaint would
// have said there, instead of boxpaint's own diagnostic.
#pragma once

#include <cstdint>

/// Takes every failure that ends the run from the run-time layer. Call before
/// startRuntime.
void installCheckFailureHandler();

/// Makes failures print the JSON error object on standard output too (--json).
void setFailureJson(bool json);

/// Names the file being read, as given on the command line, and what of it (a static
/// text such as "the mesh" or "the background"); nullptr: nothing is being read.
void setCheckReading(const char* fileName, const char* part);

/// Says that block `block` (from 1) of `count` is being read, from line `line` on.
void setCheckReadingBlock(int32_t block, int32_t count, int64_t line);

/// Says that block `block` (from 1) took its values from lines `first` to `last` of the
/// block file, more than one: the first such block whose lines are not blank is named
/// when the file then ends too early, the usual end of a line short of values.
void setCheckReadOn(int32_t block, int64_t first, int64_t last);

/// Reports that the file named by the blank-padded buffer `name` cannot be opened, with
/// the line boxpaint prints then, and ends the process with status 1.
[[noreturn]] void failMissingFile(const char* name, int length);
