// The numbered messages of the run-time layer, by name.
#pragma once

#include <cstdint>

/// A numbered message. The number is shown in the diagnostic line, and a severe message's
/// number is the run's exit status.
enum class Message : int32_t {
  None = 0,                      // no message: nothing failed
  AccessDenied = 9,              // permission to access file denied
  FileExists = 10,               // cannot overwrite existing file
  EndOfFile = 24,                // end-of-file during read
  CloseError = 28,               // CLOSE error
  FileNotFound = 29,             // file not found
  OpenFailure = 30,              // open failure (a sharing refusal among them)
  WriteError = 38,               // error during write
  ReadError = 39,                // error during read
  OutOfMemory = 41,              // insufficient virtual memory
  NoSuchDevice = 42,             // no such device
  BadFileName = 43,              // the system rejects a file's name (invalid, too long)
  SyntaxError = 59,              // list-directed I/O syntax error
  ConversionError = 64,          // input conversion error
  TerminatorSwitchIgnored = 96,  // the record-terminator switch was malformed (a warning)
  BufferOutOfMemory = 98,        // cannot allocate memory for the file buffer
  AccessViolation = 157,
  BusError = 158,
  Breakpoint = 159,
  SingleStep = 160,
  SubscriptOutOfRange = 161,
  DenormalOperand = 162,
  FloatDivideByZero = 163,
  FloatInexact = 164,
  FloatInvalid = 165,
  FloatOverflow = 166,
  IntegerOverflow = 167,
  FloatUnderflow = 168,
  IntegerDivideByZero = 169,
  StackOverflow = 170,
  IllegalInstruction = 171,
  UnknownException = 172,
  ArraySizeOverflow = 179,  // cannot allocate array: overflow on array size calculation
  ConsoleEvent = 200,       // program aborting due to a console event (an error)
};

/// The number of message `message`.
constexpr int32_t numberOf(Message message) {
  return static_cast<int32_t>(message);
}
