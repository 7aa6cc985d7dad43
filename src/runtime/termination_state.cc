#include "runtime/termination_state.h"

#include "runtime/connection_table.h"

namespace {
std::mutex lock;
bool closed = false;
}  // namespace

std::mutex& terminationLock() {
  return lock;
}

bool& connectionsClosed() {
  return closed;
}

void resetTerminationStateForTests() {
  std::lock_guard<std::mutex> guard(lock);
  // Everything was closed by the hooked end; start again with an empty table.
  discardAllConnections();
  closed = false;
}
