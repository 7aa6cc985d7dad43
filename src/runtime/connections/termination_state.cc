#include "runtime/connections/termination_state.h"

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

void forgetConnectionsClosedForTests() {
  std::lock_guard<std::mutex> guard(lock);
  closed = false;
}
