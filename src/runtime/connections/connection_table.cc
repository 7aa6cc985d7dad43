#include "runtime/connections/connection_table.h"

#include <atomic>
#include <cstring>

#include "runtime/connections/connection.h"
#include "runtime/ending/run_end.h"

namespace {

std::mutex lock;

// The connections live in place for the life of the process, so that a fault handler
// that reads a slot never meets freed memory. `slots` are written under the lock and
// read by the main thread while it runs, and by an ending thread.
Connection entries[kMaxConnections];
bool taken[kMaxConnections];  // under the lock
std::atomic<Connection*> slots[kMaxConnections];

void reset(Connection& connection) {
  connection.unit = 0;
  std::memset(connection.fileName, 0, sizeof connection.fileName);
  connection.access = Access::Read;
  connection.fd.store(kNoFile);
  connection.ownsHandle = true;
  connection.owner = 0;
  connection.terminator = TerminatorKind::Normal;
  connection.recordsRead.store(0);
}

}  // namespace

std::mutex& terminationLock() {
  return lock;
}

Connection* takeConnection(int32_t unit) {
  // Once another thread ends the run, it closes what is connected: nothing new joins.
  if (runEndingElsewhere() || lookUpConnection(unit) != nullptr) return nullptr;
  for (int i = 0; i < kMaxConnections; ++i) {
    if (taken[i]) continue;
    taken[i] = true;
    reset(entries[i]);
    entries[i].unit = unit;
    for (auto& slot : slots) {
      Connection* empty = nullptr;
      if (slot.compare_exchange_strong(empty, &entries[i])) return &entries[i];
    }
    taken[i] = false;
    return nullptr;
  }
  return nullptr;
}

void giveBackConnection(Connection* connection) {
  for (auto& slot : slots) {
    Connection* expected = connection;
    slot.compare_exchange_strong(expected, nullptr);
  }
  taken[connection - entries] = false;
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
  std::lock_guard<std::mutex> guard(lock);
  for (auto& slot : slots) {
    Connection* connection = slot.load();
    if (connection == nullptr) continue;
    releaseChannel(connection->output);
    giveBackConnection(connection);
  }
}
