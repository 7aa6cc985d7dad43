#include "runtime/process/console_events.h"

#include <pthread.h>
#include <signal.h>

#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/ending/run_end.h"

namespace {

struct ConsoleEvent {
  int signal;
  const char* name;  // nullptr: ends the run without a message
  int status;
};

// Control-C, control-BREAK and closing the console window, and SIGTERM, which `kill`,
// `timeout` and service managers send.
constexpr ConsoleEvent kEvents[] = {
    {SIGINT, "control-C", 0},
    {SIGQUIT, "control-BREAK", 1},
    {SIGHUP, "window-CLOSE", 2},
    {SIGTERM, nullptr, 0},
};

sigset_t watched;

[[noreturn]] void endForEvent(const ConsoleEvent& event) {
  RunFailure failure;
  failure.kind = event.name != nullptr ? FailureKind::ConsoleEvent : FailureKind::Terminate;
  failure.number = event.name != nullptr ? numberOf(Message::ConsoleEvent) : 0;
  failure.status = event.status;
  if (event.name == nullptr) {
    // The records handed over stay whole; then the process ends by SIGTERM, as the
    // caller that sent it expects. Nothing is printed.
    finishRun(0, RunEndKind::Terminate, &failure);
  }
  reportDiagnostic(Message::ConsoleEvent, event.name);
  finishRun(event.status, RunEndKind::ConsoleEvent, &failure);
}

void* waitForEvents(void*) {
  for (;;) {
    int signal = 0;
    if (sigwait(&watched, &signal) != 0) continue;
    for (const ConsoleEvent& event : kEvents) {
      if (event.signal != signal) continue;
      // When the run is already ending on another thread, it ends as it began.
      if (!tryClaimRunEnd()) break;
      endForEvent(event);
    }
  }
  return nullptr;
}

}  // namespace

void startConsoleEventThread() {
  sigemptyset(&watched);
  for (const ConsoleEvent& event : kEvents) {
    struct sigaction current;
    // A signal ignored by whoever started the process stays ignored.
    if (sigaction(event.signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
    sigaddset(&watched, event.signal);
  }
  sigset_t blocked = watched;
  // A write to a closed pipe or beyond the file-size limit fails with an error
  // number and is reported as a write error, rather than killing the process.
  sigaddset(&blocked, SIGPIPE);
  sigaddset(&blocked, SIGXFSZ);
  pthread_sigmask(SIG_BLOCK, &blocked, nullptr);

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  pthread_attr_setstacksize(&attributes, 256 * 1024);
  pthread_t thread;
  if (pthread_create(&thread, &attributes, waitForEvents, nullptr) != 0) {
    // Without the thread the events keep their default effect.
    pthread_sigmask(SIG_UNBLOCK, &watched, nullptr);
  }
  pthread_attr_destroy(&attributes);
}
