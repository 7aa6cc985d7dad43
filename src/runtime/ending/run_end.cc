#include "runtime/ending/run_end.h"

#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "runtime/ending/failure_handler.h"
#include "runtime/ending/monotonic_clock.h"
#include "runtime/environment/diagnostic_switches.h"

namespace {

std::atomic<ConnectionCloser> closer{nullptr};
std::atomic<ProcessEndHook> endHook{nullptr};
// Thread id of the thread that ends the process; 0 while nobody has claimed it.
std::atomic<long> endingThread{0};

// Ends the process by SIGTERM, as the caller that sent it expects.
[[noreturn]] void endBySigterm() {
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigaction(SIGTERM, &standard, nullptr);
  sigset_t terminate;
  sigemptyset(&terminate);
  sigaddset(&terminate, SIGTERM);
  pthread_sigmask(SIG_UNBLOCK, &terminate, nullptr);
  raise(SIGTERM);
  endProcess(128 + SIGTERM);  // not reached: the default action ends the process
}

}  // namespace

void setConnectionCloser(ConnectionCloser closeAll) {
  closer.store(closeAll);
}

bool tryClaimRunEnd() {
  const long self = syscall(SYS_gettid);
  long expected = 0;
  if (endingThread.compare_exchange_strong(expected, self)) return true;
  return expected == self;
}

void claimRunEnd() {
  if (!tryClaimRunEnd()) waitForRunEnd();
}

void waitForRunEnd() {
  // The claiming thread ends the process; this one only has to stay out of its way.
  for (;;) pause();
}

void finishRun(int32_t status, RunEndKind kind, const RunFailure* failure) {
  const ConnectionCloser closeAll = closer.load();
  const int32_t closingFailure =
      closeAll != nullptr ? closeAll(monotonicNanoseconds() + kEndHandOverNanoseconds) : 0;
  if (FailureHandler handler = failureHandler(); handler != nullptr && failure != nullptr) {
    handler(*failure);
    if (kind != RunEndKind::Terminate) endProcess(status);
  }
  if (closingFailure != 0) {
    status = closingFailure;
    kind = RunEndKind::Severe;
  }
  if (kind == RunEndKind::Terminate) endBySigterm();
  if (kind == RunEndKind::Severe && failureHandler() == nullptr &&
      readDiagnosticSwitches().dumpOnSevere) {
    abortProcess();
  }
  endProcess(status);
}

void endProcess(int status) {
  ProcessEndHook hook = endHook.load();
  if (hook != nullptr) hook(status);
  _exit(status);
}

void abortProcess() {
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigaction(SIGABRT, &standard, nullptr);
  abort();
}

void setProcessEndHook(ProcessEndHook hook) {
  endHook.store(hook);
}

void forgetRunEndForTests() {
  endingThread.store(0);
}
