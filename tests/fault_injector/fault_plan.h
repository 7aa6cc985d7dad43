// The fault a preloaded process is to suffer, read from BOXPAINT_FAULT, and the counts
// of the calls it has made, written to BOXPAINT_FAULT_REPORT.
#pragma once

#include <cstddef>

/// The kinds of call that are counted.
enum class CallKind { Write, Read, Close, Ftruncate, Open, Alloc };

/// Number of call kinds.
constexpr int kCallKinds = 6;

/// What happens to the faulted call.
enum class FaultAction {
  None,    // the call goes through untouched
  Fail,    // the call fails with the plan's errno (a close still releases its descriptor)
  Short,   // a read or write moves only half of what was asked
  Signal,  // the call goes through, then the plan's signal is sent to the process
};

/// Starts counting: called as `main` begins, so that nothing before it is faulted.
void startCounting();

/// Counts one call of `kind` and says what to do with it. `fd` (or -1) and `path` (or
/// null) name what the call works on, for the report; `size` is an allocation's size.
FaultAction countCall(CallKind kind, int fd, const char* path, size_t size);

/// The errno the faulted call fails with.
int faultErrno();

/// Sends the plan's signal to the whole process, as `kill` from outside would.
void raiseFaultSignal();

/// Writes the report of the calls counted (once; later calls do nothing).
void writeFinalReport();
