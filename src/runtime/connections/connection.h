// One open file of the run: its unit number, resolved name and handle, and for a write
// connection the channel its records reach the system through.
#pragma once

#include <atomic>
#include <cstdint>

#include "runtime/diagnostics/failure.h"
#include "runtime/environment/terminator_setting.h"
#include "runtime/platform/system_calls.h"
#include "runtime/records/output_channel.h"

/// The unit number of the console output.
constexpr int32_t kConsoleUnit = -1;

/// What a connection may do with its file.
enum class Access { Read, Write };

/// One connected unit.
struct Connection {
  int32_t unit = 0;
  char fileName[kMaxFileName + 1] = {};
  Access access = Access::Read;
  std::atomic<FileHandle> fd{kNoFile};  // the file's handle; kNoFile once closed
  bool ownsHandle = true;               // false for the standard streams (never closed)
  uint64_t owner = 0;  // the thread that opened it: at the end of the run, the one that may
                       // close its handle, which no other thread then still uses
  TerminatorKind terminator = TerminatorKind::Normal;
  std::atomic<int64_t> recordsRead{0};  // input: records fetched so far
  OutputChannel output;                 // output: writes through `fd`
};
