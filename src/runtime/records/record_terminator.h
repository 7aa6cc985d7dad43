// The record terminator each new connection gets.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/environment/terminator_setting.h"

/// The terminator for a new connection of `unit`, as the record-terminator switch
/// chooses it. The switch is read at the first call of the process; a malformed
/// value gives warning 96 once and leaves every connection's terminator normal.
TerminatorKind terminatorForUnit(int32_t unit);

/// Makes every later connection keep its normal terminator, whatever the switch says:
/// for a program that reads files written under any setting of it.
void useNormalTerminators();

/// The bytes that end each written record of a connection with terminator `kind`.
std::string_view recordTerminatorBytes(TerminatorKind kind);
