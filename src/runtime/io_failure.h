// Failures of a connection's input or output that no caller handles.
#pragma once

#include <cstdint>

struct Connection;

/// Closes `connection` (keeping its unit number and name for the message), then
/// reports message `number` for that unit and file and ends the run.
[[noreturn]] void ioFailure(int32_t number, Connection& connection);

/// Reports message `number` for a unit and file that have no open connection (an open
/// that failed) and ends the run.
[[noreturn]] void ioFailure(int32_t number, int32_t unit, const char* fileName);
