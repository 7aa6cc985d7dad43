// Programs built on the run-time layer (the companions of the utility) may take the
// failures that end a run themselves, in place of the diagnostic text and exit status.
#pragma once

#include <cstdint>
#include <string_view>

/// What kind of failure ends the run.
enum class FailureKind {
  InputOutput,         // a read, write, open or close of a connection failed
  Memory,              // memory was refused, or an array's size overflows
  ConsoleEvent,        // an interrupt, quit or hang-up (message 200)
  Terminate,           // a signal whose default action ends the process (SIGTERM, ...)
  ProcessorException,  // a fault; the handler runs inside a signal handler
};

/// A failure that ends the run.
struct RunFailure {
  int32_t number = 0;  // the message number; 0 for Terminate
  FailureKind kind = FailureKind::InputOutput;
  int32_t status = 0;              // the exit status the utility would end with
  int32_t unit = 0;                // InputOutput: the unit, else 0
  const char* fileName = nullptr;  // InputOutput: the file's name, else nullptr
  int64_t recordsRead = 0;         // InputOutput while reading: records read so far, else 0
  std::string_view reason;         // the message's text without its unit and file part
};

/// A program's own end for a failure. It must end the process itself, except for
/// Terminate, after which the process ends by the signal. For a processor exception it runs
/// inside a signal handler and may only make async-signal-safe calls.
using FailureHandler = void (*)(const RunFailure& failure);

/// Makes `handler` take every failure that ends the run, once the connections are
/// closed, in place of the diagnostic text, the call-stack listing and the exit. Warnings
/// are then dropped, and the switches that shape diagnostics have no effect. Install it
/// before any other thread starts; nullptr restores the diagnostics.
void setFailureHandler(FailureHandler handler);

/// The installed failure handler, or nullptr.
FailureHandler failureHandler();
