// A second thread kept for jobs handed to it one at a time.
#pragma once

#include <condition_variable>
#include <mutex>

#include "runtime/platform/system_calls.h"

/// A thread started with the first job handed to it and woken for each one after: a job
/// costs a wake-up, not a thread. A new thread starts on its starter's processor and can
/// take milliseconds to move to an idle one. Ends its thread when it goes.
struct HelperThread {
  ThreadHandle thread = 0;
  std::mutex lock;
  std::condition_variable changed;
  // Under `lock`: the job handed over and not yet done, and its argument; the thread is to
  // end.
  void (*job)(void*) = nullptr;
  void* argument = nullptr;
  bool stopping = false;

  HelperThread() = default;
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;
  ~HelperThread();
};

/// Hands `job` to the helper, which does `job(argument)`. False, and nothing handed over,
/// when no thread can be had: the caller then does the job itself. One job at a time.
bool handOverJob(HelperThread& helper, void (*job)(void*), void* argument);

/// Waits until the job handed over, if any, is done.
void waitForJob(HelperThread& helper);

/// Waits for the job handed over, if any, then ends the thread: the helper is as new, and
/// its next job starts a thread again.
void endHelperThread(HelperThread& helper);
