// The numbered messages of the run-time layer.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/diagnostics/message.h"

/// How grave a message is; it decides what follows the message line.
enum class Severity { Info = 1, Warning = 2, Error = 3, Severe = 4 };

/// One numbered message.
struct MessageEntry {
  int32_t number;
  Severity severity;
  const char* text;  // template: %d a unit number, %s a file or event name
};

/// The entry for the low 16 bits of `number`, or nullptr when there is none.
const MessageEntry* findMessage(int32_t number);

/// The text of `message` without its unit and file part, or the empty text for a number
/// with no entry: what went wrong, in the message's words. Async-signal-safe.
std::string_view messageReason(Message message);

/// The prefix template ("forrtl: severe (%i): " ...) for `severity`; 0 gives the bare one.
const char* messagePrefix(int severity);
