#include "model_files/view_failure.h"

#include "companion/companion_events.h"
#include "companion/device_name.h"
#include "model_files/record_text.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/records/record_terminator.h"

namespace {

// What went wrong, in the run-time layer's words for message `number`.
std::string messageText(int number) {
  const std::string_view reason = messageReason(static_cast<Message>(number));
  if (reason.empty()) return "run-time error " + std::to_string(number);
  return std::string(reason);
}

// A failure that the run-time layer ended the run for: memory refused to a list.
CompanionFailure runFailureWords(const Failure& failure) {
  return viewFailureOf(failure, failure.fileName[0] != '\0' ? failure.fileName : nullptr);
}

}  // namespace

void installViewFailureHook() {
  installCompanionFailureHandler(kViewProgram, runFailureWords);
  useNormalTerminators();
}

CompanionFailure viewFailureOf(const Failure& failure, const char* fileName) {
  // Only a value that cannot be read is met at a record of its own; any other failure
  // concerns the file.
  const bool atRecord =
      (failure.message == Message::SyntaxError || failure.message == Message::ConversionError) &&
      fileName != nullptr && failure.line > 0;
  const int64_t line = atRecord ? failure.line : 0;
  const std::string record = atRecord ? recordText(fileName, line) : "";
  CompanionFailure words = failureOf(
      kFailureStatus, describeRuntimeFailure(numberOf(failure.message), fileName, line, record));
  words.file = fileName != nullptr ? fileName : "";
  words.line = failure.line;
  words.message = numberOf(failure.message);
  return words;
}

CompanionFailure deviceRefusal(const char* name, bool input) {
  const NamedDevice device = namedDevice(name);
  if (device.kind == DeviceKind::None || (input && device.kind == DeviceKind::StandardInput)) {
    return {};
  }
  CompanionFailure failure =
      formattedFailure(kFailureStatus, "%s: names %s, not a file", name, device.words.c_str());
  failure.file = name;
  return failure;
}

std::string describeRuntimeFailure(int number, const char* fileName, int64_t line,
                                   const std::string& recordText) {
  std::string text;
  if (fileName != nullptr) {
    text.append(fileName);
    if (line > 0) text.append(":").append(std::to_string(line));
    text.append(": ");
  }
  const Message message = static_cast<Message>(number);
  if (message == Message::SyntaxError || message == Message::ConversionError) {
    text.append("unreadable value");
    if (!recordText.empty()) text.append(" '").append(recordText).append("'");
    text.append(" (").append(messageText(number)).append(")");
  } else {
    text.append(messageText(number));
  }
  return text;
}
