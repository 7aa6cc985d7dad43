// Numbered diagnostics on standard error, and the end of the run they may bring.
#pragma once

#include <cstdint>

#include "runtime/text_buffer.h"

/// Bytes of the buffer one diagnostic (message line and listing) is built in.
constexpr size_t kDiagnosticBufferBytes = 16384;

/// Reports message `number` without arguments. Severities 1 to 3 return (a warning such
/// as 96); a severe number ends the run as `reportSevere` does.
void reportDiagnostic(int32_t number);

/// Reports message `number` with one text argument (an event name); returns for
/// severities 1 to 3.
void reportDiagnostic(int32_t number, const char* text);

/// Reports severe message `number` without arguments (41, 179) and ends the run with
/// `number` as exit status.
[[noreturn]] void reportSevere(int32_t number);

/// Reports severe message `number` for a unit and file (the input/output messages) and
/// ends the run; `recordsRead` counts the records read from it, for a failure handler.
[[noreturn]] void reportSevere(int32_t number, int32_t unit, const char* fileName,
                               int64_t recordsRead);

/// Writes the diagnostic of message `number` for a unit and file, and returns whatever
/// its severity: for a failure met while the run is already ending. Silent when a
/// failure handler is installed.
void reportDiagnosticOnly(int32_t number, int32_t unit, const char* fileName);

/// Builds the message line of `number` with `arguments` into `buffer`: the prefix for
/// its severity, the text, a newline. Returns the severity (4 for unknown numbers).
/// Async-signal-safe.
int formatMessageLine(TextBuffer& buffer, int32_t number, const MessageArgument* arguments,
                      int argumentCount);
