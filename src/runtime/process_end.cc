#include "runtime/process_end.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

#include "runtime/termination_state.h"

namespace {
std::atomic<ProcessEndHook> endHook{nullptr};
// Thread id of the thread that ends the process; 0 while nobody has claimed it.
std::atomic<long> endingThread{0};
}  // namespace

void setProcessEndHook(ProcessEndHook hook) {
  endHook.store(hook);
}

void endProcess(int status) {
  ProcessEndHook hook = endHook.load();
  if (hook != nullptr) {
    hook(status);
  }
  _exit(status);
}

void abortProcess() {
  struct sigaction standard {};
  standard.sa_handler = SIG_DFL;
  sigaction(SIGABRT, &standard, nullptr);
  abort();
}

bool claimProcessEnd() {
  long self = syscall(SYS_gettid);
  long expected = 0;
  if (endingThread.compare_exchange_strong(expected, self)) return true;
  return expected == self;
}

void waitForProcessEnd() {
  // The claiming thread ends the process; this one only has to stay out of its way.
  for (;;) pause();
}

void resetProcessEndForTests() {
  endingThread.store(0);
  resetTerminationStateForTests();
}
