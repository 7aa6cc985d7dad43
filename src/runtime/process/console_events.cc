#include "runtime/process/console_events.h"

#include "runtime/process/finish_run.h"

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
  Diagnostic notice;
  notice.message = Message::ConsoleEvent;
  notice.arguments[0].isText = true;
  notice.arguments[0].text = ending.name;
  notice.argumentCount = 1;
  finishRun(ending.status, RunEndKind::ConsoleEvent, &notice, &failure);
}

void onTerminatingSignal(int signal) {
  if (!tryClaimRunEnd()) return;
  RunFailure failure;
  failure.kind = FailureKind::Terminate;
  finishRun(signal, RunEndKind::Signal, nullptr, &failure);
}
