#include "runtime/connections/connection_table.h"

#include <atomic>

#include "runtime/connections/connection.h"
#include "runtime/connections/termination_state.h"
#include "runtime/records/output_channel_ring.h"

namespace {
// Slots are written under the termination lock and read by the main thread while
// it runs, and by an ending thread under the lock.
std::atomic<Connection*> slots[kMaxConnections];
}  // namespace

bool enterConnection(Connection* connection) {
  if (connectionsClosed() || lookUpConnection(connection->unit) != nullptr) return false;
  for (auto& slot : slots) {
    if (slot.load() == nullptr) {
      slot.store(connection);
      return true;
    }
  }
  return false;
}

Connection* removeConnection(int32_t unit) {
  for (auto& slot : slots) {
    Connection* connection = slot.load();
    if (connection != nullptr && connection->unit == unit) {
      slot.store(nullptr);
      return connection;
    }
  }
  return nullptr;
}

Connection* lookUpConnection(int32_t unit) {
  for (auto& slot : slots) {
    Connection* connection = slot.load();
    if (connection != nullptr && connection->unit == unit) return connection;
  }
  return nullptr;
}

Connection* connectionInSlot(int index) {
  return index >= 0 && index < kMaxConnections ? slots[index].load() : nullptr;
}

void discardAllConnections() {
  for (auto& slot : slots) {
    Connection* connection = slot.exchange(nullptr);
    if (connection == nullptr) continue;
    releaseOutput(connection->output);
    delete connection;
  }
}
