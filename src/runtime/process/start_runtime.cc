#include "runtime/process/start_runtime.h"

#include <new>

#include "runtime/diagnostics/stack_listing.h"
#include "runtime/environment/command_line.h"
#include "runtime/environment/diagnostic_switches.h"
#include "runtime/environment/environment_switches.h"
#include "runtime/process/console_events.h"
#include "runtime/process/finish_run.h"
#include "runtime/process/processor_exceptions.h"

namespace {

// Memory refused to the run's own strings and lists (the arguments, the full path of
// each file it opens) ends the run with message 41, as for its arrays, instead of an
// uncaught exception that would end the process abnormally.
void reportRefusedMemory() {
  endRunForFailure(failureOf(Message::OutOfMemory));
}

}  // namespace

void startRuntime(int argc, const char* const* argv) {
  SystemCalls& system = systemCalls();
  system.occupyStandardStreams();
  std::set_new_handler(reportRefusedMemory);
  setCommandLine(argc, argv);
  captureDiagnosticSwitches();
  if (switchIsTrue("FOR_NOERROR_DIALOGS")) system.suppressErrorDialogs();
  ProcessEventHandlers handlers;
  handlers.consoleEvent = onConsoleEvent;
  handlers.terminatingSignal = onTerminatingSignal;
  if (!switchIsTrue("FOR_IGNORE_EXCEPTIONS")) {
    // A listing made inside the fault handler must find everything it needs in place.
    prepareStackListing();
    handlers.processorException = onProcessorException;
  }
  system.watchProcessEvents(handlers);
}
