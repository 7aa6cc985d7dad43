#include "library/library_failure.h"

#include <utility>

#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/environment/command_line.h"

boxpaint::Failure messageFailure(int32_t number, std::string file, int64_t line) {
  boxpaint::Failure failure;
  failure.number = number;
  failure.text = std::string(messageReason(static_cast<Message>(number)));
  failure.file = std::move(file);
  failure.line = line;
  return failure;
}

boxpaint::Failure runFailure(const Failure& failure) {
  if (!failure) return {};
  return messageFailure(numberOf(failure.message), failure.fileName, failure.line);
}

boxpaint::Failure companionFailure(const CompanionFailure& failure) {
  if (!failure) return {};
  boxpaint::Failure made;
  made.number = failure.message != 0 ? failure.message : boxpaint::kFileFailure;
  made.text = failure.text;
  made.file = failure.file;
  made.line = failure.line;
  return made;
}

boxpaint::Failure nameFailure(const std::string& path) {
  // A name with a NUL in it would name another file than the one asked for.
  if (path.find('\0') == std::string::npos) return {};
  return messageFailure(numberOf(Message::BadFileName), path);
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

boxpaint::Failure nameLengthFailure(const std::string& path) {
  if (path.size() <= static_cast<size_t>(kNameLength)) return {};
  return badArgument("boxpaint takes file names of at most 200 characters");
}
