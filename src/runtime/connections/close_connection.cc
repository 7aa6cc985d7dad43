#include "runtime/connections/close_connection.h"

#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
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

// Closes and forgets `connection`; the caller holds the termination lock. False when the
// close failed.
bool closeAndForget(Connection& connection) {
  const bool closed = closeHandle(connection);
  releaseChannel(connection.output);
  giveBackConnection(&connection);
  return closed;
}

Failure failureOn(Message message, const Connection& connection) {
  return fileFailure(message, connection.unit, connection.fileName);
}

}  // namespace

Failure closeConnection(int32_t unit) {
  Connection* connection = lookUpConnection(unit);
  if (connection == nullptr) return {};
  // Drained outside the termination lock: a thread that ends the run meanwhile takes the
  // writer's place, and this one leaves the connection to it.
  if (connection->access == Access::Write) {
    const Failure drained = drainConnection(*connection);
    if (drained) {
      closeAfterFailure(unit, drained);
      return drained;
    }
  }
  std::lock_guard<std::mutex> guard(terminationLock());
  // Another thread ending the run closes what it may itself; this one leaves it be.
  if (runEndingElsewhere()) return stopFailure();
  const Failure closing = failureOn(Message::CloseError, *connection);
  return closeAndForget(*connection) ? Failure{} : closing;
}

void closeAfterFailure(int32_t unit, const Failure& failure) {
  Connection* connection = lookUpConnection(unit);
  if (connection == nullptr) return;
  std::lock_guard<std::mutex> guard(terminationLock());
  if (runEndingElsewhere()) return;
  if (connection->access == Access::Write) {
    if (failure.message == Message::WriteError && failure.unit == unit) {
      abandonChannel(connection->output);
    } else {
      handOverForEnd(connection->output,
                     systemCalls().monotonicNanoseconds() + kEndHandOverNanoseconds);
    }
  }
  closeAndForget(*connection);
}

Failure drainAllConnections() {
  for (int slot = 0; slot < kMaxConnections; ++slot) {
    Connection* connection = connectionInSlot(slot);
    if (connection == nullptr || connection->access != Access::Write) continue;
    if (const Failure drained = drainConnection(*connection)) {
      closeAfterFailure(connection->unit, drained);
      return drained;
    }
  }
  return {};
}

Failure handOverAllConnections(int64_t deadlineNs, EndSetting setting) {
  // Inside a signal handler no lock is taken: the faulting code may hold it. Connections
  // stay in the table: another thread may still hold one while the run ends.
  std::unique_lock<std::mutex> guard(terminationLock(), std::defer_lock);
  if (setting == EndSetting::Thread) guard.lock();
  Failure failure;
  for (int slot = 0; slot < kMaxConnections; ++slot) {
    Connection* connection = connectionInSlot(slot);
    if (connection == nullptr || connection->access != Access::Write) continue;
    if (handOverForEnd(connection->output, deadlineNs) == ChannelStatus::Refused && !failure) {
      failure = failureOn(Message::WriteError, *connection);
    }
  }
  return failure;
}

Failure closeConnectionsAtEnd(EndSetting setting) {
  // The process is about to end, which closes every handle in any case.
  if (setting == EndSetting::SignalHandler) return {};
  std::lock_guard<std::mutex> guard(terminationLock());
  const uint64_t self = systemCalls().currentThread();
  Failure failure;
  for (int slot = 0; slot < kMaxConnections; ++slot) {
    Connection* connection = connectionInSlot(slot);
    if (connection == nullptr || connection->owner != self) continue;
    // A write the hand-over gave up waiting for still uses the handle.
    if (connection->access == Access::Write && channelWriteUnderWay(connection->output)) continue;
    if (!closeHandle(*connection) && !failure)
      failure = failureOn(Message::CloseError, *connection);
  }
  return failure;
}
