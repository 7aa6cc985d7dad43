#include "runtime/process/finish_run.h"

#include "runtime/connections/close_connection.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/environment/diagnostic_switches.h"
#include "runtime/platform/system_calls.h"

namespace {

// The dump flags, read now on a thread, as captured at start-up in a signal handler.
bool dumpOnSevere(EndSetting setting) {
  return setting == EndSetting::Thread ? readDiagnosticSwitches().dumpOnSevere
                                       : capturedDiagnosticSwitches().dumpOnSevere;
}

}  // namespace

void finishRun(int32_t status, RunEndKind kind, const Diagnostic* notice, const RunFailure* handled,
               EndSetting setting) {
  const int64_t deadline = systemCalls().monotonicNanoseconds() + kEndHandOverNanoseconds;
  Failure closing = handOverAllConnections(deadline, setting);
  if (notice != nullptr) writeDiagnostic(*notice, setting);
  const Failure notClosed = closeConnectionsAtEnd(setting);
  if (!closing) closing = notClosed;
  if (FailureHandler handler = failureHandler(); handler != nullptr && handled != nullptr) {
    handler(*handled);
    if (kind != RunEndKind::Signal) endProcess(status);
  }
  if (closing) {
    writeDiagnostic(diagnosticOf(closing), setting);
    status = numberOf(closing.message);
    kind = RunEndKind::Severe;
  }
  if (kind == RunEndKind::Signal) {
    systemCalls().endBySignal(status);
    waitForRunEnd();
  }
  if (kind == RunEndKind::Severe && failureHandler() == nullptr && dumpOnSevere(setting)) {
    systemCalls().abortProcess();
    waitForRunEnd();
  }
  endProcess(status);
}

void endRunForFailure(const Failure& failure) {
  claimRunEnd();
  RunFailure handled;
  handled.number = handled.status = numberOf(failure.message);
  handled.kind = failure.unit != 0 ? FailureKind::InputOutput : FailureKind::Memory;
  handled.unit = failure.unit;
  handled.fileName = failure.unit != 0 ? failure.fileName : nullptr;
  handled.recordsRead = failure.line;
  // The message is looked up once for the diagnostic; a failure handler, which takes the
  // place of the diagnostic, is given its words instead.
  if (failureHandler() != nullptr) handled.reason = messageReason(failure.message);
  const Diagnostic notice = diagnosticOf(failure);
  finishRun(handled.number, RunEndKind::Severe, &notice, &handled);
}
