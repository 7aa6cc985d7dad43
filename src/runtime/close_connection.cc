#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "runtime/connection.h"
#include "runtime/connection_output.h"
#include "runtime/connection_table.h"
#include "runtime/io_failure.h"
#include "runtime/open_connection.h"
#include "runtime/process_end.h"
#include "runtime/report_diagnostic.h"
#include "runtime/termination_state.h"

namespace {

// Closes the descriptor unless it is one of the standard streams; false when the
// system reports a failure.
bool closeDescriptor(Connection& connection) {
  if (!connection.ownsDescriptor || connection.fd < 0) return true;
  int fd = connection.fd;
  connection.fd = -1;
  // Linux releases the descriptor even when close reports EINTR; never retry.
  return close(fd) == 0 || errno == EINTR;
}

}  // namespace

void closeConnection(int32_t unit) {
  int32_t failure = 0;
  int32_t failedUnit = unit;
  char failedName[kMaxFileName + 1] = {};
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    if (connectionsClosed()) {
      // Another thread is ending the run and has closed everything already.
      waitForProcessEnd();
    }
    Connection* connection = removeConnection(unit);
    if (connection == nullptr) return;
    if (connection->access == Access::Write && !handOverHeldRecords(*connection)) failure = 38;
    if (!closeDescriptor(*connection) && failure == 0) failure = 28;
    if (failure != 0) std::memcpy(failedName, connection->fileName, sizeof failedName);
    releaseOutput(*connection);
    delete connection;
  }
  if (failure != 0) ioFailure(failure, failedUnit, failedName);
}

int32_t closeAllConnections() {
  int32_t failure = 0;
  int32_t failedUnit = 0;
  char failedName[kMaxFileName + 1] = {};
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    if (connectionsClosed()) return 0;
    connectionsClosed() = true;
    // Connections stay in the table and in memory: the main thread may still hold
    // one while another thread ends the run.
    for (int slot = 0; slot < kMaxConnections; ++slot) {
      Connection* connection = connectionInSlot(slot);
      if (connection == nullptr) continue;
      int32_t number = 0;
      if (connection->access == Access::Write && !handOverForEnd(*connection)) number = 38;
      {
        std::lock_guard<std::mutex> handOver(connection->handOverLock);
        connection->output.closed = true;
        if (!closeDescriptor(*connection) && number == 0) number = 28;
      }
      if (number != 0 && failure == 0) {
        failure = number;
        failedUnit = connection->unit;
        std::memcpy(failedName, connection->fileName, sizeof failedName);
      }
    }
  }
  if (failure != 0) reportDiagnosticOnly(failure, failedUnit, failedName);
  return failure;
}
