#include "runtime/ending/failure_handler.h"

#include <atomic>

namespace {
std::atomic<FailureHandler> installed{nullptr};
}  // namespace

void setFailureHandler(FailureHandler handler) {
  installed.store(handler);
}

FailureHandler failureHandler() {
  return installed.load();
}
