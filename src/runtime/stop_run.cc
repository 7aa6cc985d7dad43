#include "runtime/stop_run.h"

#include "runtime/open_connection.h"
#include "runtime/process_end.h"

void stopRun() {
  // When another thread is already ending the process (a console event or a
  // failure), its message and the closing of the files must not be cut short by a
  // quiet exit here: that thread finishes the run.
  if (!claimProcessEnd()) waitForProcessEnd();
  closeAllConnections();
  endProcess(0);
}
