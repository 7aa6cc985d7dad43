#include "runtime/connections/close_connection.h"

#include <cstring>

#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/io_failure.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/platform/file_transfers.h"
#include "runtime/records/hand_over.h"

namespace {

// Closes the handle unless it is a standard stream's; false when the system reports a
// failure.
bool closeHandle(Connection& connection) {
  const FileHandle file = connection.fd.exchange(kNoFile);
  if (!connection.ownsHandle || file == kNoFile) return true;
  SystemError error = 0;
  return closeFileOnce(file, &error);
}

}  // namespace

void closeConnection(int32_t unit) {
  Connection* connection = lookUpConnection(unit);
  if (connection == nullptr) return;
  // Drained outside the termination lock: a thread that ends the run meanwhile takes the
  // writer's place, and this one waits for the end.
  if (connection->access == Access::Write) drainConnection(*connection);
  char name[kMaxFileName + 1] = {};
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    // Another thread ending the run closes everything itself; this one leaves it be.
    if (!runEndingElsewhere()) {
      std::memcpy(name, connection->fileName, sizeof name);
      const bool closed = closeHandle(*connection);
      releaseChannel(connection->output);
      giveBackConnection(connection);
      if (closed) return;
    }
  }
  if (runEndingElsewhere()) waitForRunEnd();
  ioFailure(Message::CloseError, unit, name);
}

void drainAllConnections() {
  for (int slot = 0; slot < kMaxConnections; ++slot) {
    Connection* connection = connectionInSlot(slot);
    if (connection != nullptr && connection->access == Access::Write) {
      drainConnection(*connection);
    }
  }
}

int32_t closeAllConnections(int64_t deadlineNs, EndSetting setting) {
  // Inside a signal handler no lock is taken: the faulting code may hold it. Connections
  // stay in the table: another thread may still hold one while the run ends.
  std::unique_lock<std::mutex> guard(terminationLock(), std::defer_lock);
  if (setting == EndSetting::Thread) guard.lock();
  Connection* failed = nullptr;
  Message failure = Message::WriteError;
  for (int slot = 0; slot < kMaxConnections; ++slot) {
    Connection* connection = connectionInSlot(slot);
    if (connection == nullptr) continue;
    const bool refused = connection->access == Access::Write &&
                         handOverForEnd(connection->output, deadlineNs) == ChannelStatus::Refused;
    // The process is about to end, which closes every handle in any case.
    const bool notClosed = setting == EndSetting::Thread && !closeHandle(*connection);
    if ((refused || notClosed) && failed == nullptr) {
      failed = connection;
      failure = refused ? Message::WriteError : Message::CloseError;
    }
  }
  if (failed == nullptr) return 0;
  reportDiagnosticOnly(failure, failed->unit, failed->fileName, setting);
  return numberOf(failure);
}
