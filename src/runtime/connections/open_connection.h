// Connecting units to files.
#pragma once

#include <cstdint>

struct Connection;

/// How a unit is connected.
enum class OpenMode {
  Input,   // an existing file, read only
  Output,  // an existing file or a new one, write only, cut after its first record
};

/// Connects `unit` to the file named by the blank-padded buffer `name` of `length`
/// characters. Input mode returns 0 or a positive message number and never reports;
/// output mode returns 0 or ends the run through `ioFailure`.
int32_t openConnection(int32_t unit, const char* name, int length, OpenMode mode);
