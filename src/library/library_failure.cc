#include "library/library_failure.h"

#include <utility>

#include "runtime/diagnostics/message_catalogue.h"

boxpaint::Failure messageFailure(int32_t number, std::string file, int64_t line) {
  boxpaint::Failure failure;
  failure.number = number;
  failure.text = std::string(messageReason(static_cast<Message>(number)));
  failure.file = std::move(file);
  failure.line = line;
  return failure;
}

boxpaint::Failure badArgument(std::string text) {
  boxpaint::Failure failure;
  failure.number = boxpaint::kBadArgument;
  failure.text = std::move(text);
  return failure;
}

boxpaint::Failure stoppedFailure() {
  boxpaint::Failure failure;
  failure.number = boxpaint::kStopped;
  failure.text = "stopped by the caller";
  return failure;
}

boxpaint::Failure notAvailable(const char* call) {
  boxpaint::Failure failure;
  failure.number = boxpaint::kNotAvailable;
  failure.text = std::string(call) + " is not available in this build of the library";
  return failure;
}
