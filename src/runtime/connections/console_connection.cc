#include "runtime/connections/console_connection.h"

#include <cstring>

#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/ending/run_end.h"
#include "runtime/environment/environment_switches.h"
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
  const TerminatorKind terminator = terminatorForUnit(kConsoleUnit);
  // From the first connection on, the end of the run closes them all.
  setConnectionCloser(closeAllConnections);
  Connection* connection;
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    connection = takeConnection(kConsoleUnit);
    if (connection != nullptr) {
      std::strcpy(connection->fileName, "stdout");
      connection->access = Access::Write;
      connection->fd.store(systemCalls().standardStream(StandardStream::Output));
      connection->ownsHandle = false;
      connection->terminator = terminator;
      startOutput(*connection, true);
    }
  }
  // The connections are being closed: the run is ending elsewhere.
  if (connection == nullptr) waitForRunEnd();
  return *connection;
}
