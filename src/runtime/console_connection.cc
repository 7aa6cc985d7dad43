#include "runtime/console_connection.h"

#include <cstring>
#include <new>

#include "runtime/connection.h"
#include "runtime/connection_table.h"
#include "runtime/environment_switches.h"
#include "runtime/open_connection.h"
#include "runtime/process_end.h"
#include "runtime/record_terminator.h"
#include "runtime/report_diagnostic.h"
#include "runtime/termination_state.h"

Connection& consoleConnection() {
  if (Connection* existing = findConnection(kConsoleUnit)) return *existing;
  const char* printFile = switchValue("FOR_PRINT");
  if (printFile != nullptr) {
    // The console output goes to a file, opened like the model file.
    openConnection(kConsoleUnit, printFile, static_cast<int>(std::strlen(printFile)),
                   OpenMode::Output);
    return *findConnection(kConsoleUnit);
  }
  Connection* connection = new (std::nothrow) Connection;
  if (connection == nullptr) reportSevere(41);
  connection->unit = kConsoleUnit;
  std::strcpy(connection->fileName, "stdout");
  connection->access = Access::Write;
  connection->fd = 1;
  connection->ownsDescriptor = false;
  connection->terminator = terminatorForUnit(kConsoleUnit);
  bool entered;
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    entered = enterConnection(connection);
  }
  if (!entered) {
    delete connection;
    waitForProcessEnd();  // the connections are closed: the run is ending elsewhere
  }
  return *connection;
}
