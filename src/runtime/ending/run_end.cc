#include "runtime/ending/run_end.h"

#include <atomic>

#include "runtime/ending/failure_handler.h"
#include "runtime/environment/diagnostic_switches.h"
#include "runtime/platform/system_calls.h"

namespace {

std::atomic<ConnectionCloser> closer{nullptr};
std::atomic<ProcessEndHook> endHook{nullptr};
// The thread that ends the process; 0 while nobody has claimed the end.
std::atomic<uint64_t> endingThread{0};

// The dump flags, read now on a thread, as captured at start-up in a signal handler.
bool dumpOnSevere(EndSetting setting) {
  return setting == EndSetting::Thread ? readDiagnosticSwitches().dumpOnSevere
                                       : capturedDiagnosticSwitches().dumpOnSevere;
}

// Stands after a call of the table that ends the process, which never returns: a
// replacement that did would find the calling thread held here, never going on.
[[noreturn]] void holdForever() {
  for (;;) systemCalls().sleepMilliseconds(1000);
}

}  // namespace

void setConnectionCloser(ConnectionCloser closeAll) {
  closer.store(closeAll);
}

bool tryClaimRunEnd() {
  const uint64_t self = systemCalls().currentThread();
  uint64_t expected = 0;
  if (endingThread.compare_exchange_strong(expected, self)) return true;
  return expected == self;
}

void claimRunEnd() {
  if (!tryClaimRunEnd()) waitForRunEnd();
}

bool runEndingElsewhere() {
  const uint64_t owner = endingThread.load();
  return owner != 0 && owner != systemCalls().currentThread();
}

void waitForRunEnd() {
  // The claiming thread ends the process; this one only has to stay out of its way.
  for (;;) systemCalls().sleepMilliseconds(1000);
}

void finishRun(int32_t status, RunEndKind kind, const RunFailure* failure, EndSetting setting) {
  const ConnectionCloser closeAll = closer.load();
  const int64_t deadline = systemCalls().monotonicNanoseconds() + kEndHandOverNanoseconds;
  const int32_t closingFailure = closeAll != nullptr ? closeAll(deadline, setting) : 0;
  if (FailureHandler handler = failureHandler(); handler != nullptr && failure != nullptr) {
    handler(*failure);
    if (kind != RunEndKind::Signal) endProcess(status);
  }
  if (closingFailure != 0) {
    status = closingFailure;
    kind = RunEndKind::Severe;
  }
  if (kind == RunEndKind::Signal) {
    systemCalls().endBySignal(status);
    holdForever();
  }
  if (kind == RunEndKind::Severe && failureHandler() == nullptr && dumpOnSevere(setting)) {
    systemCalls().abortProcess();
    holdForever();
  }
  endProcess(status);
}

void endProcess(int status) {
  ProcessEndHook hook = endHook.load();
  if (hook != nullptr) hook(status);
  systemCalls().exitProcess(status);
  holdForever();
}

void setProcessEndHook(ProcessEndHook hook) {
  endHook.store(hook);
}

void forgetRunEndForTests() {
  endingThread.store(0);
}
