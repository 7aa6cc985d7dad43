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

/// The connection of `unit`, or nullptr when the unit is not connected.
Connection* findConnection(int32_t unit);

/// Hands over what is held for output, closes the file (keeping it) and forgets the
/// unit. Nothing happens when the unit is not connected. A failure is message 28.
void closeConnection(int32_t unit);

/// Closes every connection still open, the console output's included, handing over
/// what is held. Runs once per process; later calls do nothing. A failure is reported
/// (message 38 or 28) without ending the run, and its number returned; else 0.
int32_t closeAllConnections();
