// One open file of the run: its unit number, resolved name and handle, and for a write
// connection the channel its records reach the system through.
#pragma once

#include <atomic>
#include <cstdint>

#include "runtime/environment/terminator_setting.h"
#include "runtime/platform/system_calls.h"
#include "runtime/records/output_channel.h"

/// Longest resolved file name a connection keeps, not counting the NUL.
constexpr int kMaxFileName = 256;

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
  TerminatorKind terminator = TerminatorKind::Normal;
  std::atomic<int64_t> recordsRead{0};  // input: records fetched so far
  OutputChannel output;                 // output: writes through `fd`
};
