#include "runtime/connections/close_connection.h"

#include <cstring>

#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/io_failure.h"
#include "runtime/connections/termination_state.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/run_end.h"
#include "runtime/platform/file_transfers.h"
#include "runtime/records/output_channel_ring.h"

namespace {

// Closes the descriptor unless it is one of the standard streams; false when the
// system reports a failure.
bool closeDescriptor(Connection& connection) {
  const FileHandle fd = connection.fd.exchange(kNoFile);
  if (!connection.ownsDescriptor || fd == kNoFile) return true;
  SystemError error = 0;
  return closeFileOnce(fd, &error);
}

}  // namespace

void closeConnection(int32_t unit) {
  Connection* connection = lookUpConnection(unit);
  if (connection == nullptr) return;
  // Drained outside the termination lock: a thread that ends the run meanwhile takes
  // the writer's place, and this one waits for the end.
  if (connection->access == Access::Write) drainConnection(*connection);
  char failedName[kMaxFileName + 1] = {};
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    if (connectionsClosed()) {
      // Another thread is ending the run and has closed everything already.
      waitForRunEnd();
    }
    removeConnection(unit);
    const bool closed = closeDescriptor(*connection);
    std::memcpy(failedName, connection->fileName, sizeof failedName);
    releaseOutput(connection->output);
    delete connection;
    if (closed) return;
  }
  ioFailure(Message::CloseError, unit, failedName);
}

void drainAllConnections() {
  for (int slot = 0; slot < kMaxConnections; ++slot) {
    Connection* connection = connectionInSlot(slot);
    if (connection != nullptr && connection->access == Access::Write) {
      drainConnection(*connection);
    }
  }
}

int32_t closeAllConnections(int64_t deadlineNs) {
  Message failure = Message::WriteError;
  bool failed = false;
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
      const bool refused = connection->access == Access::Write &&
                           !handOverForEnd(connection->output, deadlineNs, false);
      const bool notClosed = !closeDescriptor(*connection);
      if ((refused || notClosed) && !failed) {
        failed = true;
        failure = refused ? Message::WriteError : Message::CloseError;
        failedUnit = connection->unit;
        std::memcpy(failedName, connection->fileName, sizeof failedName);
      }
    }
  }
  if (!failed) return 0;
  reportDiagnosticOnly(failure, failedUnit, failedName);
  return numberOf(failure);
}
