#include "runtime/connections/console_connection.h"

#include <cstring>
#include <new>

#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/connections/termination_state.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/run_end.h"
#include "runtime/environment/environment_switches.h"
#include "runtime/platform/system_calls.h"
#include "runtime/records/record_terminator.h"

Connection& consoleConnection() {
  if (Connection* existing = lookUpConnection(kConsoleUnit)) return *existing;
  const char* printFile = switchValue("FOR_PRINT");
  if (printFile != nullptr) {
    // The console output goes to a file, opened like the model file.
    openConnection(kConsoleUnit, printFile, static_cast<int>(std::strlen(printFile)),
                   OpenMode::Output);
    return *lookUpConnection(kConsoleUnit);
  }
  Connection* connection = new (std::nothrow) Connection;
  if (connection == nullptr) reportSevere(Message::OutOfMemory);
  connection->unit = kConsoleUnit;
  std::strcpy(connection->fileName, "stdout");
  connection->access = Access::Write;
  connection->fd = systemCalls().standardStream(StandardStream::Output);
  connection->ownsDescriptor = false;
  connection->terminator = terminatorForUnit(kConsoleUnit);
  // From the first connection on, the end of the run closes them all.
  setConnectionCloser(closeAllConnections);
  bool entered;
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    entered = enterConnection(connection);
  }
  if (!entered) {
    delete connection;
    waitForRunEnd();  // the connections are closed: the run is ending elsewhere
  }
  return *connection;
}
