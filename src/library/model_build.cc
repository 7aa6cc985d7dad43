// boxpaint's own run on three files, as a call: the run sequence on a thread of its own,
// while the calling thread looks now and then at whether its caller wants it stopped.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>

#include "app/build_model.h"
#include "boxpaint/model.h"
#include "library/file_call_lock.h"
#include "library/library_failure.h"
#include "runtime/environment/command_line.h"
#include "runtime/threads/helper_thread.h"

namespace {

// How often the calling thread asks its caller whether to go on.
constexpr auto kLookEvery = std::chrono::milliseconds(20);

// A run of the build and how it ended.
struct BuildJob {
  char meshName[kNameLength], blockName[kNameLength], modelName[kNameLength];
  std::atomic<bool> stop{false};
  Failure failure;
  std::mutex lock;
  std::condition_variable ended;
  bool done = false;  // under `lock`
};

void runBuild(void* argument) {
  BuildJob& job = *static_cast<BuildJob*>(argument);
  job.failure = buildModel(job.meshName, job.blockName, job.modelName, nullptr, &job.stop);
  const std::lock_guard<std::mutex> guard(job.lock);
  job.done = true;
  job.ended.notify_all();
}

// The name buffer boxpaint fetches an argument into: the name, then blanks.
void fillName(char (&buffer)[kNameLength], const std::string& path) {
  std::memset(buffer, ' ', kNameLength);
  std::memcpy(buffer, path.data(), path.size());
}

}  // namespace

namespace boxpaint {

Failure buildModel(const std::string& meshPath, const std::string& blockPath,
                   const std::string& modelPath, const CallControl* control) {
  for (const std::string* path : {&meshPath, &blockPath, &modelPath}) {
    if (Failure failure = nameFailure(*path); failed(failure)) return failure;
    if (Failure failure = nameLengthFailure(*path); failed(failure)) return failure;
  }
  const FileCallLock lock;
  BuildJob job;
  fillName(job.meshName, meshPath);
  fillName(job.blockName, blockPath);
  fillName(job.modelName, modelPath);
  if (control == nullptr || control->keepGoing == nullptr) {
    runBuild(&job);
  } else {
    HelperThread helper;
    if (!handOverJob(helper, runBuild, &job)) runBuild(&job);
    std::unique_lock<std::mutex> guard(job.lock);
    while (!job.ended.wait_for(guard, kLookEvery, [&job] { return job.done; })) {
      guard.unlock();
      if (!keepGoing(control)) job.stop.store(true);
      guard.lock();
    }
  }
  if (job.stop.load() && job.failure.message == Message::ConsoleEvent) return stoppedFailure();
  return runFailure(job.failure);
}

}  // namespace boxpaint
