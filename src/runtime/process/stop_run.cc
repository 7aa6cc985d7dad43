#include "runtime/process/stop_run.h"

#include "runtime/connections/close_connection.h"
#include "runtime/process/finish_run.h"

void stopRun() {
  // Every record reaches the system before the end is claimed, so that a console
  // event can still end a run whose output is blocked. When another thread is already
  // ending the process, its message and the closing of the files are not cut short by a
  // quiet exit here: that thread finishes the run.
  if (const Failure drained = drainAllConnections()) endRunForFailure(drained);
  claimRunEnd();
  finishRun(0, RunEndKind::Plain, nullptr, nullptr);
}
