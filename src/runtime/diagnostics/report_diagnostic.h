// Numbered diagnostics on standard error: the message line, the call-stack listing behind
// it, and where the text goes.
#pragma once

#include <cstdint>

#include "runtime/diagnostics/failure.h"
#include "runtime/diagnostics/message.h"
#include "runtime/diagnostics/text_buffer.h"
#include "runtime/ending/run_end.h"

/// Bytes of the buffer one diagnostic (message line and listing) is built in.
constexpr size_t kDiagnosticBufferBytes = 16384;

/// One diagnostic to write: a message and the values of its template, in order. A text
/// value points at memory the caller keeps until the diagnostic is written.
struct Diagnostic {
  Message message = Message::None;
  MessageArgument arguments[2];
  int argumentCount = 0;
};

/// The diagnostic of `failure`: its message, with the unit and the file's name for a failure
/// of a file. It points into `failure`.
Diagnostic diagnosticOf(const Failure& failure);

/// Writes `diagnostic`: the message line, then the call-stack listing for severities 3 and
/// 4 unless the switches say otherwise, to standard error and the log file. The message is
/// looked up once. On a thread the text is built in memory of its own; inside a signal or
/// exception handler, in a fixed buffer, with the signal-safe listing and the switches as
/// captured at start-up. Silent when a failure handler is installed.
void writeDiagnostic(const Diagnostic& diagnostic, EndSetting setting = EndSetting::Thread);

/// Writes `message` without arguments (a warning such as TerminatorSwitchIgnored).
void reportDiagnostic(Message message);

/// Writes `message` with one text argument (an event name).
void reportDiagnostic(Message message, const char* text);

/// Builds the line of `message` with `arguments` into `buffer`: the prefix for its
/// severity, the text, a newline. Returns the severity (4 for a number with no entry).
/// Async-signal-safe.
int formatMessageLine(TextBuffer& buffer, Message message, const MessageArgument* arguments,
                      int argumentCount);
