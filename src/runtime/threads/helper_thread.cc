#include "runtime/threads/helper_thread.h"

namespace {

void doJobs(void* argument) {
  HelperThread& helper = *static_cast<HelperThread*>(argument);
  std::unique_lock<std::mutex> guard(helper.lock);
  for (;;) {
    helper.changed.wait(guard, [&helper] { return helper.job != nullptr || helper.stopping; });
    if (helper.job == nullptr) return;
    void (*job)(void*) = helper.job;
    void* jobArgument = helper.argument;
    guard.unlock();
    job(jobArgument);
    guard.lock();
    helper.job = nullptr;
    helper.changed.notify_all();
  }
}

}  // namespace

HelperThread::~HelperThread() {
  endHelperThread(*this);
}

void endHelperThread(HelperThread& helper) {
  if (helper.thread == 0) return;
  waitForJob(helper);
  {
    std::lock_guard<std::mutex> guard(helper.lock);
    helper.stopping = true;
  }
  helper.changed.notify_all();
  systemCalls().joinThread(helper.thread);
  helper.thread = 0;
  helper.stopping = false;
}

bool handOverJob(HelperThread& helper, void (*job)(void*), void* argument) {
  {
    std::lock_guard<std::mutex> guard(helper.lock);
    helper.job = job;
    helper.argument = argument;
  }
  if (helper.thread == 0) {
    helper.thread = systemCalls().startThread(doJobs, &helper);
    if (helper.thread == 0) {
      helper.job = nullptr;
      return false;
    }
    return true;
  }
  helper.changed.notify_all();
  return true;
}

void waitForJob(HelperThread& helper) {
  if (helper.thread == 0) return;
  std::unique_lock<std::mutex> guard(helper.lock);
  helper.changed.wait(guard, [&helper] { return helper.job == nullptr; });
}
