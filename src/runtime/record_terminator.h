// The record terminator each new connection gets.
#pragma once

#include <cstdint>

#include "runtime/connection.h"

/// The terminator for a new connection of `unit`, as the record-terminator switch
/// chooses it. The switch is read at the first call of the process; a malformed
/// value gives warning 96 once and leaves every connection's terminator normal.
TerminatorKind terminatorForUnit(int32_t unit);
