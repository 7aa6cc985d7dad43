#include "runtime/process/console_events.h"

#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/ending/run_end.h"

namespace {

struct EventEnding {
  const char* name;  // in message 200
  int status;
};

EventEnding endingFor(ConsoleEvent event) {
  switch (event) {
    case ConsoleEvent::Interrupt:
      return {"control-C", 0};
    case ConsoleEvent::Break:
      return {"control-BREAK", 1};
    case ConsoleEvent::Close:
      return {"window-CLOSE", 2};
  }
  return {"control-C", 0};
}

}  // namespace

void onConsoleEvent(ConsoleEvent event) {
  // When the run is already ending on another thread, it ends as it began.
  if (!tryClaimRunEnd()) return;
  const EventEnding ending = endingFor(event);
  RunFailure failure;
  failure.kind = FailureKind::ConsoleEvent;
  failure.number = numberOf(Message::ConsoleEvent);
  failure.status = ending.status;
  reportDiagnostic(Message::ConsoleEvent, ending.name);
  finishRun(ending.status, RunEndKind::ConsoleEvent, &failure);
}

void onTerminatingSignal(int signal) {
  if (!tryClaimRunEnd()) return;
  RunFailure failure;
  failure.kind = FailureKind::Terminate;
  finishRun(signal, RunEndKind::Signal, &failure);
}
