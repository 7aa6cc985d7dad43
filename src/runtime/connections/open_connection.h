// Connecting units to files: an input file to read, or an output file to write.
#pragma once

#include <cstdint>

#include "runtime/connections/connection.h"
#include "runtime/diagnostics/failure.h"

/// Connects `unit` for reading to the existing file named by the blank-padded buffer
/// `name` of `length` characters. Returns no failure, or the refusal (29, 9, 42, 43 or 30)
/// for the unit and the resolved name. A run that is ending on another thread opens
/// nothing: the stop.
Failure openInput(int32_t unit, const char* name, int length);

/// Connects `unit` for writing to the file named by `name`: an existing file (kept until
/// the first records are handed over, then cut behind them) or a new one. A disk file other
/// than the console output's takes the one-writer lock; a file another run holds is refused
/// with 30 and left as it is. Returns no failure or the refusal, as `openInput`.
Failure openOutput(int32_t unit, const char* name, int length);

/// Enters the open handle `fd` as the connection of `unit` named `fileName`, with the
/// record terminator the switch gives the unit; a write connection starts its output
/// (`device`: each record reaches the system when complete). nullptr when the run is
/// ending on another thread or the unit is taken: nothing is entered, and a handle of its
/// own is closed.
Connection* connectHandle(int32_t unit, const char* fileName, Access access, FileHandle fd,
                          bool ownsHandle, bool device);

/// True when `failure` is an open's refusal, the file not opened: for the callers that
/// handle an input file that cannot be opened themselves.
bool isOpenRefusal(const Failure& failure);
