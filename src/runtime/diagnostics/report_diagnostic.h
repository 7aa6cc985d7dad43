// Numbered diagnostics on standard error, and the end of the run they may bring.
#pragma once

#include <cstdint>

#include "runtime/diagnostics/message.h"
#include "runtime/diagnostics/text_buffer.h"
#include "runtime/ending/run_end.h"

/// Bytes of the buffer one diagnostic (message line and listing) is built in.
constexpr size_t kDiagnosticBufferBytes = 16384;

/// Reports `message` without arguments. Severities 1 to 3 return (a warning such as
/// TerminatorSwitchIgnored); a severe message ends the run as `reportSevere` does.
void reportDiagnostic(Message message);

/// Reports `message` with one text argument (an event name); returns for severities 1
/// to 3.
void reportDiagnostic(Message message, const char* text);

/// Reports severe `message` without arguments (OutOfMemory, ArraySizeOverflow) and ends
/// the run with its number as exit status.
[[noreturn]] void reportSevere(Message message);

/// Reports severe `message` for a unit and file (the input/output messages) and ends the
/// run; `recordsRead` counts the records read from it, for a failure handler.
[[noreturn]] void reportSevere(Message message, int32_t unit, const char* fileName,
                               int64_t recordsRead);

/// Writes the diagnostic of `message` for a unit and file, and returns whatever its
/// severity: for a failure met while the run is already ending, as `setting` allows.
/// Silent when a failure handler is installed.
void reportDiagnosticOnly(Message message, int32_t unit, const char* fileName, EndSetting setting);

/// Writes the diagnostic of `message` with `arguments` from inside a signal or exception
/// handler: a buffer of its own, the signal-safe listing, the switches as captured at
/// start-up. Returns whatever its severity.
void reportInSignalHandler(Message message, const MessageArgument* arguments, int argumentCount);

/// Builds the line of `message` with `arguments` into `buffer`: the prefix for its
/// severity, the text, a newline. Returns the severity (4 for a number with no entry).
/// Async-signal-safe.
int formatMessageLine(TextBuffer& buffer, Message message, const MessageArgument* arguments,
                      int argumentCount);
