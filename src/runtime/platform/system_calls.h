// Every call the run-time layer makes to the operating system, through one table.
//
// The entries have the same shape on every platform; `system_calls-posix.cc` and
// `system_calls-win32.cc` fill them. Code above this part never calls the system
// directly: it calls an entry, and retries or reports what the entry says. A test may
// replace entries one at a time (`systemCalls()` is writable) to make any call fail, come
// up short or report what it was asked, in-process, on every platform.
//
// Entries that may run inside a signal or exception handler say so ("signal-safe"):
// they take no lock and allocate nothing.
#pragma once

#include <cstddef>
#include <cstdint>

/// A file, device or standard stream as the system hands it out; kNoFile is none.
using FileHandle = intptr_t;

/// The handle of no file.
constexpr FileHandle kNoFile = -1;

/// The system's reason for a refusal: errno on POSIX, GetLastError() on Windows.
using SystemError = int;

/// What an open asks for.
enum class OpenIntent : uint8_t {
  Read,       // an existing file, read only
  Write,      // an existing file or a new one, write only, at its start
  ReadWrite,  // an existing file or a new one, read and write, at its start
  Append,     // an existing file or a new one, every write at its end
  // For programs that read a file again or replace a file whole:
  ReadAtOnce,     // as Read, but a FIFO opens at once, without waiting for a writer
  WriteExisting,  // an existing file, write only, never made, and a FIFO opens at once
                  // (or is refused) without waiting for a reader: whether it may be written
  CreateNew,      // a new file, write only; refused when the name is taken
};

/// What kind of thing a handle reaches.
enum class FileKind : uint8_t {
  Disk,       // a regular file: it may be written at offsets and cut
  Pipe,       // a pipe, FIFO or socket: bytes go through once
  Device,     // a terminal or other character device
  Directory,  // only ever met when reading
  Other,
};

/// What the system says of an open handle.
struct FileFacts {
  FileKind kind = FileKind::Other;
  uint64_t size = 0;       // Disk: bytes in the file
  uint64_t position = 0;   // Disk: where the next plain write lands
  bool appending = false;  // every write goes to the end, wherever the position
};

/// What the system says of a path, without opening it.
struct PathFacts {
  FileKind kind = FileKind::Other;
  uint64_t volume = 0;  // with `index`, which file it is: two paths with the same
  uint64_t index = 0;   // volume and index name one file, through links or other names
};

/// The three standard streams.
enum class StandardStream : uint8_t { Input, Output, Error };

/// A thread started through the table; 0 when none.
using ThreadHandle = uintptr_t;

/// What a stack frame's address tells: its module, its place there, its routine.
struct FrameNames {
  char image[64] = {};    // the module's file name without its folder; empty: unknown
  uint32_t pc = 0;        // the address less the module's load address, low 32 bits
  char routine[96] = {};  // the routine's name without its parameters; empty: unknown
};

/// A console event: control-C, control-BREAK or the closing of the console window.
enum class ConsoleEvent : uint8_t { Interrupt, Break, Close };

/// What a processor exception was, as far as the system tells.
enum class FaultKind : uint8_t {
  AccessViolation,
  StackOverflow,
  BusError,
  IllegalInstruction,
  IntegerDivideByZero,
  IntegerOverflow,
  FloatDivideByZero,
  FloatOverflow,
  FloatUnderflow,
  FloatInexact,
  FloatInvalid,
  FloatDenormal,
  SubscriptOutOfRange,
  Breakpoint,
  SingleStep,
  Unknown,
};

/// One processor exception.
struct ProcessorFault {
  FaultKind kind = FaultKind::Unknown;
  int64_t code = 0;  // the system's number for it (the signal, or the exception code)
};

/// Where the events that end a run are sent. Each handler that takes an event ends the
/// process; a handler left nullptr leaves its events to the system.
struct ProcessEventHandlers {
  /// A console event, on a thread that may lock and wait.
  void (*consoleEvent)(ConsoleEvent event) = nullptr;
  /// A signal that would end the process by default (`kill`, `timeout`, an alarm), on a
  /// thread that may lock and wait. The process must still end by that signal.
  void (*terminatingSignal)(int signal) = nullptr;
  /// A processor exception, inside the system's handler on the faulting thread: only
  /// signal-safe calls.
  void (*processorException)(const ProcessorFault& fault) = nullptr;
};

/// Blocks of memory at least this large are filled a large page at a time where the
/// system has large pages.
constexpr size_t kLargeAllocation = size_t{1} << 20;

/// The calls, by concern. Counts returned as int64_t are -1 on failure, with the reason
/// in `*error`.
struct SystemCalls {
  // Files and devices.
  /// Opens `path` as `intent` asks; kNoFile with the reason in `*error` when refused.
  FileHandle (*openFile)(const char* path, OpenIntent intent, SystemError* error);
  /// Opens the system's null device.
  FileHandle (*openNullDevice)(OpenIntent intent, SystemError* error);
  /// Reads up to `count` bytes; 0 at the end of the file. Signal-safe.
  int64_t (*readFile)(FileHandle file, void* bytes, size_t count, SystemError* error);
  /// Writes up to `count` bytes where the handle stands. Signal-safe.
  int64_t (*writeFile)(FileHandle file, const void* bytes, size_t count, SystemError* error);
  /// Writes up to `count` bytes at file offset `offset` of a disk file. Signal-safe.
  int64_t (*writeFileAt)(FileHandle file, const void* bytes, size_t count, uint64_t offset,
                         SystemError* error);
  /// Cuts a disk file to `length` bytes. Signal-safe.
  bool (*cutFile)(FileHandle file, uint64_t length, SystemError* error);
  /// Closes the handle; it is gone even when a failure is reported.
  bool (*closeFile)(FileHandle file, SystemError* error);
  /// What the handle reaches; false when the system cannot say. Signal-safe.
  bool (*describeFile)(FileHandle file, FileFacts* facts);
  /// Takes the one-writer lock of an open disk file without waiting, held until the
  /// handle is closed: true, also where the file system cannot lock at all (the file is
  /// then written unlocked); false with the reason when another process holds it or the
  /// system refuses.
  bool (*lockFile)(FileHandle file, SystemError* error);
  /// Waits up to `milliseconds` (-1: for good) until a pipe or device can take bytes;
  /// false when the time ran out. Signal-safe.
  bool (*waitWritable)(FileHandle file, int milliseconds);
  /// Waits up to `milliseconds` (-1: for good) until a pipe or device has bytes to read,
  /// or its end; false when the time ran out. Signal-safe.
  bool (*waitReadable)(FileHandle file, int milliseconds);
  /// What `path` names, following links; false when nothing is there or the system
  /// cannot say.
  bool (*describePath)(const char* path, PathFacts* facts);
  /// Gives the file `from` the name `to`, replacing a file of that name.
  bool (*renameFile)(const char* from, const char* to, SystemError* error);
  /// Removes the file `path`. Signal-safe.
  bool (*removeFile)(const char* path, SystemError* error);
  /// The full path of `name` against the current directory, in `path` of `capacity`
  /// bytes; its length, or -1 when it cannot be had or does not fit.
  int64_t (*fullPath)(const char* name, char* path, size_t capacity);
  /// True where the system itself opens PRN, COM1-COM4, LPT1-LPT4, AUX and LINE as
  /// devices by name; elsewhere they are ordinary file names.
  bool namedDevices;
  /// The characters that set a folder or drive apart from a bare name: "/" on POSIX,
  /// "\\/:" on Windows.
  const char* folderMarks;

  // Standard streams.
  /// The handle of a standard stream. Signal-safe.
  FileHandle (*standardStream)(StandardStream stream);
  /// Gives every standard stream the process was started without a harmless handle, so
  /// that no file the run opens takes its place.
  void (*occupyStandardStreams)();
  /// Makes standard error append to `path` from now on; false when it cannot be opened.
  bool (*redirectStandardError)(const char* path);

  // Memory.
  /// `bytes` of memory, all zero; nullptr when refused.
  void* (*allocateZeroed)(size_t bytes);
  /// `bytes` of memory, contents undefined; nullptr when refused. A block of
  /// kLargeAllocation bytes or more is laid on large pages where the system has them.
  void* (*allocate)(size_t bytes);
  /// Gives memory back; nullptr does nothing.
  void (*release)(void* memory);
  /// Asks for large pages over a big array; only ever a hint.
  void (*adviseLargePages)(void* memory, size_t bytes);

  // The process's setting.
  /// The value of environment variable `name`, or nullptr when it is not set.
  const char* (*environmentValue)(const char* name);
  /// The process's command line as one string, which the utility splits itself; on a
  /// system that hands out the arguments already split (`argc`, `argv`) they are joined
  /// so that the splitting gives each back exactly.
  const char* (*commandLine)(int argc, const char* const* argv);

  // Time and threads.
  /// A clock that never goes back, in nanoseconds. Signal-safe.
  int64_t (*monotonicNanoseconds)();
  /// Sleeps about `milliseconds`. Signal-safe.
  void (*sleepMilliseconds)(int milliseconds);
  /// Starts `body(argument)` on a new thread with a small stack; 0 when refused.
  ThreadHandle (*startThread)(void (*body)(void*), void* argument);
  /// Waits for a thread started here to end.
  void (*joinThread)(ThreadHandle thread);
  /// A number for the calling thread, never 0. Signal-safe.
  uint64_t (*currentThread)();

  // The call stack.
  /// Loads what a walk of the stack needs, so that one made in a fault handler takes no
  /// lock and no memory.
  void (*prepareStackWalk)();
  /// The return addresses of the calling thread's stack, innermost first, at most
  /// `capacity`; sets `*cut` when the walk stopped before its natural end. Signal-safe
  /// when `signalSafe`.
  int (*walkStack)(void** addresses, int capacity, bool* cut, bool signalSafe);
  /// What `address` tells; routine names only where `signalSafe` is false.
  void (*nameFrame)(void* address, FrameNames* names, bool signalSafe);

  // Events.
  /// From now on sends console events, terminating signals and processor exceptions to
  /// `handlers`. Events the process was started with orders to ignore stay ignored. A
  /// write that fails because its reader went away or a size limit was reached is then
  /// a refused write, not the end of the process.
  void (*watchProcessEvents)(const ProcessEventHandlers& handlers);
  /// Asks the system to show no dialog boxes of its own for critical errors, faults and
  /// files that cannot be opened; nothing where it shows none.
  void (*suppressErrorDialogs)();

  // The end of the process. None of these returns.
  /// Ends the process at once with `status`. Signal-safe.
  void (*exitProcess)(int status);
  /// Ends the process abnormally, as the system's abort does. Signal-safe.
  void (*abortProcess)();
  /// Ends the process by `signal` with its default action, where the system has signals;
  /// elsewhere exits with 128 + `signal`. Signal-safe.
  void (*endBySignal)(int signal);
};

/// Gives memory from `allocate` back, for owning pointers.
struct SystemRelease {
  void operator()(void* memory) const;
};

/// The table the run-time layer calls through. Tests may change entries; every entry is
/// always set.
SystemCalls& systemCalls();

/// The table as this platform fills it (`fill_system_calls.cc`), to put entries back after
/// a test.
const SystemCalls& platformSystemCalls();

/// Reasons that code must tell apart, and that tests make calls fail with.
enum class ErrorName : uint8_t {
  Interrupted,   // a signal came before anything was done: try again
  WouldBlock,    // a non-blocking stream is full: wait, then try again
  Io,            // the device failed
  DiskFull,      // no room left on the device
  FileTooLarge,  // beyond the file-size limit
  BrokenPipe,    // the reader went away
  NotFound,      // no such file or folder
  AccessDenied,  // not permitted
  NoSuchDevice,  // no such device or drive
  NameTooLong,   // the system rejects the name
  TooManyFiles,  // no handle left
  NoMemory,      // memory refused
};

/// The platform's number for a named reason; one that cannot happen here is a number the
/// system never gives.
SystemError systemError(ErrorName name);

/// True when `error` is the platform's number for `name`.
inline bool isError(SystemError error, ErrorName name) {
  return error == systemError(name);
}

/// The system's words for `error` ("Permission denied"), without a full stop or line end,
/// in `text` of `capacity` bytes (cut to fit, NUL-ended); returns their length.
size_t systemErrorText(SystemError error, char* text, size_t capacity);

/// The number of the message that a refused open reports for `error`: 29 not found, 9
/// access denied, 42 no such device, 10 file exists, 43 bad name, 30 anything else.
int32_t openRefusalMessage(SystemError error);
