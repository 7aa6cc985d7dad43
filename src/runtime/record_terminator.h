// The record terminator each new connection gets.
#pragma once

#include <cstdint>

#include "runtime/connection.h"

/// The terminator for a connection of `unit`, as the record-terminator switch
/// chooses it (read once, at the first connection of the process).
TerminatorKind terminatorForUnit(int32_t unit);
