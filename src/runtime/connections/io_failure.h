// Failures of a connection's input or output that no caller handles.
#pragma once

#include <cstdint>

#include "runtime/diagnostics/message.h"

struct Connection;

/// Closes `connection` (keeping its unit number and name for the message), then
/// reports `message` for that unit and file and ends the run.
[[noreturn]] void ioFailure(Message message, Connection& connection);

/// Reports `message` for a unit and file that have no open connection (an open that
/// failed) and ends the run.
[[noreturn]] void ioFailure(Message message, int32_t unit, const char* fileName);
