#include "runtime/connections/console_connection.h"

#include <cstring>

#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/environment/environment_switches.h"

Connection* consoleConnection(Failure& failure) {
  if (Connection* existing = lookUpConnection(kConsoleUnit)) return existing;
  if (const char* printFile = switchValue("FOR_PRINT")) {
    // The console output goes to a file, opened like the model file.
    failure = openOutput(kConsoleUnit, printFile, static_cast<int>(std::strlen(printFile)));
    return failure ? nullptr : lookUpConnection(kConsoleUnit);
  }
  Connection* connection =
      connectHandle(kConsoleUnit, "stdout", Access::Write,
                    systemCalls().standardStream(StandardStream::Output), false, true);
  if (connection == nullptr) failure = stopFailure();
  return connection;
}
