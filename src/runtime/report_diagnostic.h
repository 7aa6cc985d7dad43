// Numbered diagnostics on standard error, and the end of the run they may bring.
#pragma once

#include <cstdint>

#include "runtime/text_buffer.h"

/// Bytes of the buffer one diagnostic (message line and listing) is built in.
constexpr size_t kDiagnosticBufferBytes = 16384;

/// Reports message `number` without arguments (41, 179 ...). Severities 1 to 3
/// return; a severe message closes all connections and ends the process with
/// `number` as exit status.
void reportDiagnostic(int32_t number);

/// Reports message `number` for a unit and file (the I/O messages).
void reportDiagnostic(int32_t number, int32_t unit, const char* fileName);

/// Reports message `number` with one text argument (an event name).
void reportDiagnostic(int32_t number, const char* text);

/// Writes the diagnostic of message `number` for a unit and file, and returns
/// whatever its severity; for a failure met while the run is already ending.
void reportDiagnosticOnly(int32_t number, int32_t unit, const char* fileName);

/// Builds the message line of `number` with `arguments` into `buffer`: the prefix for
/// its severity, the text, a newline. Returns the severity (4 for unknown numbers).
int formatMessageLine(TextBuffer& buffer, int32_t number, const MessageArgument* arguments,
                      int argumentCount);
