#include "runtime/ending/run_end.h"

#include <atomic>

#include "runtime/platform/system_calls.h"

namespace {

std::atomic<ProcessEndHook> endHook{nullptr};
// The thread that ends the process; 0 while nobody has claimed the end.
std::atomic<uint64_t> endingThread{0};

}  // namespace

bool tryClaimRunEnd() {
  const uint64_t self = systemCalls().currentThread();
  uint64_t expected = 0;
  if (endingThread.compare_exchange_strong(expected, self)) return true;
  return expected == self;
}

void claimRunEnd() {
  if (!tryClaimRunEnd()) waitForRunEnd();
}

bool runEndingElsewhere() {
  const uint64_t owner = endingThread.load();
  return owner != 0 && owner != systemCalls().currentThread();
}

void waitForRunEnd() {
  // The claiming thread ends the process; this one only has to stay out of its way.
  for (;;) systemCalls().sleepMilliseconds(1000);
}

void endProcess(int status) {
  ProcessEndHook hook = endHook.load();
  if (hook != nullptr) hook(status);
  systemCalls().exitProcess(status);
  // A replacement of the exit that returned finds the calling thread held here.
  waitForRunEnd();
}

void setProcessEndHook(ProcessEndHook hook) {
  endHook.store(hook);
}

void forgetRunEndForTests() {
  endingThread.store(0);
}
