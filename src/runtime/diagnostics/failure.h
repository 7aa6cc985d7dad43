// A failure carried as a value: what went wrong and where, from the layer that finds it up
// to the one that ends the run, or back to a library's caller.
#pragma once

#include <cstdint>

#include "runtime/diagnostics/message.h"

/// Longest resolved file name that a connection keeps and a failure names, not counting the
/// NUL.
constexpr int kMaxFileName = 256;

/// One failure: its message, and for a failure of a file the unit, the file's resolved name
/// and the records read from it. A plain record, copied as it goes up; nothing in it is
/// allocated, so that a signal handler may make one too.
struct Failure {
  Message message = Message::None;       // None: nothing failed
  int32_t unit = 0;                      // the file's unit (1, 2 or -1); 0 for no file
  int64_t line = 0;                      // records read from the unit when it failed, else 0
  char fileName[kMaxFileName + 1] = {};  // the file's resolved name; empty for no file

  /// True when something failed.
  explicit operator bool() const { return message != Message::None; }
};

/// A failure of `message` that concerns no file: memory refused, or an operation stopped.
inline Failure failureOf(Message message) {
  Failure failure;
  failure.message = message;
  return failure;
}

/// A failure of `message` on `unit`, whose resolved name is `fileName`, after `line` records.
inline Failure fileFailure(Message message, int32_t unit, const char* fileName, int64_t line = 0) {
  Failure failure;
  failure.message = message;
  failure.unit = unit;
  failure.line = line;
  for (int i = 0; i < kMaxFileName && fileName[i] != '\0'; ++i) failure.fileName[i] = fileName[i];
  return failure;
}

/// The failure of an operation stopped before its end, by its caller or because the run is
/// ending on another thread: message 200, which a console event gives.
inline Failure stopFailure() {
  return failureOf(Message::ConsoleEvent);
}
