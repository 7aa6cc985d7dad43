#include "runtime/run_end.h"

#include <signal.h>

#include <cstdlib>

#include "runtime/close_connection.h"
#include "runtime/diagnostic_output.h"
#include "runtime/failure_handler.h"
#include "runtime/output_channel_ring.h"
#include "runtime/process_end.h"

namespace {

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

void claimRunEnd() {
  if (!claimProcessEnd()) waitForProcessEnd();
}

void finishRun(int32_t status, RunEndKind kind, const RunFailure* failure) {
  const int64_t deadline = monotonicNanoseconds() + kEndHandOverNanoseconds;
  const int32_t closingFailure = closeAllConnections(deadline);
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
