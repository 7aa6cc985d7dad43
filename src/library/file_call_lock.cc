#include "library/file_call_lock.h"

namespace {

// The library's one lock; a plain mutex: a call never opens files inside another.
std::mutex& fileCalls() {
  static std::mutex lock;
  return lock;
}

}  // namespace

FileCallLock::FileCallLock() {
  fileCalls().lock();
}

FileCallLock::~FileCallLock() {
  fileCalls().unlock();
}
