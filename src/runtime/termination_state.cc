#include "runtime/termination_state.h"

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
  closed = false;
}
