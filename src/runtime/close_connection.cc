#include "runtime/close_connection.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "runtime/connection.h"
#include "runtime/connection_table.h"
#include "runtime/io_failure.h"
#include "runtime/output_channel_ring.h"
#include "runtime/process_end.h"
#include "runtime/report_diagnostic.h"
#include "runtime/termination_state.h"

namespace {

// Closes the descriptor unless it is one of the standard streams; false when the
// system reports a failure.
bool closeDescriptor(Connection& connection) {
  const int fd = connection.fd.exchange(-1);
  if (!connection.ownsDescriptor || fd < 0) return true;
  // Linux releases the descriptor even when close reports EINTR; never retry.
  return close(fd) == 0 || errno == EINTR;
}

}  // namespace

void closeConnection(int32_t unit) {
  Connection* connection = lookUpConnection(unit);
  if (connection == nullptr) return;
  // Drained outside the termination lock: a thread that ends the run meanwhile takes
  // the writer's place, and this one waits for the end.
  if (connection->access == Access::Write && !drainOutput(*connection)) {
    ioFailure(38, *connection);
  }
  char failedName[kMaxFileName + 1] = {};
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    if (connectionsClosed()) {
      // Another thread is ending the run and has closed everything already.
      waitForProcessEnd();
    }
    removeConnection(unit);
    if (closeDescriptor(*connection)) {
      releaseOutput(*connection);
      delete connection;
      return;
    }
    std::memcpy(failedName, connection->fileName, sizeof failedName);
    releaseOutput(*connection);
    delete connection;
  }
  ioFailure(28, unit, failedName);
}

void drainAllConnections() {
  for (int slot = 0; slot < kMaxConnections; ++slot) {
    Connection* connection = connectionInSlot(slot);
    if (connection != nullptr && connection->access == Access::Write && !drainOutput(*connection)) {
      ioFailure(38, *connection);
    }
  }
}

int32_t closeAllConnections(int64_t deadlineNs) {
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
      if (connection->access == Access::Write && !handOverForEnd(*connection, deadlineNs, false)) {
        number = 38;
      }
      if (!closeDescriptor(*connection) && number == 0) number = 28;
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
