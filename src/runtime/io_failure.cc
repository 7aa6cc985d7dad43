#include "runtime/io_failure.h"

#include <unistd.h>

#include <cstring>

#include "runtime/connection.h"
#include "runtime/connection_output.h"
#include "runtime/connection_table.h"
#include "runtime/process_end.h"
#include "runtime/report_diagnostic.h"
#include "runtime/termination_state.h"

namespace {

// Closes a connection that has failed, without handing anything more over.
void closeFailedConnection(Connection& connection) {
  std::lock_guard<std::mutex> guard(terminationLock());
  bool inTable = lookUpConnection(connection.unit) == &connection;
  if (inTable) removeConnection(connection.unit);
  {
    std::lock_guard<std::mutex> handOver(connection.handOverLock);
    connection.output.closed = true;
    int fd = connection.fd.exchange(-1);
    if (connection.ownsDescriptor && fd >= 0) close(fd);
  }
  if (inTable) {
    releaseOutput(connection);
    delete &connection;
  }
}

}  // namespace

void ioFailure(int32_t number, Connection& connection) {
  // Claim the end first, so that a console event cannot start a second ending while
  // the failing connection is being closed.
  if (!claimProcessEnd()) waitForProcessEnd();
  int32_t unit = connection.unit;
  char fileName[kMaxFileName + 1];
  std::memcpy(fileName, connection.fileName, sizeof fileName);
  closeFailedConnection(connection);
  ioFailure(number, unit, fileName);
}

void ioFailure(int32_t number, int32_t unit, const char* fileName) {
  reportDiagnostic(number, unit, fileName);
  endProcess(number);  // every number raised here is severe; this is not reached
}
