#include "view/view_failure.h"

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "companion/system_files.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/ending/run_end.h"
#include "runtime/records/record_terminator.h"
#include "view/record_text.h"

namespace {

const char* readingFile = nullptr;
const int64_t* readingLine = nullptr;

// Kept in a fixed array so that a failure met in a signal handler can still remove it.
char unfinishedOutput[PATH_MAX + 64] = {};

// Writes the program name and `pieces` as one line, removes the unfinished output and
// ends the process. Allocates nothing, so that a fault handler may use it too.
[[noreturn]] void endWithLine(int status, std::initializer_list<std::string_view> pieces) {
  const FileHandle error = standardOutput(true);
  writeWhole(error, "boxpaint-view: ", 15);
  for (std::string_view piece : pieces) writeWhole(error, piece.data(), piece.size());
  writeWhole(error, "\n", 1);
  if (unfinishedOutput[0] != '\0') removeFile(unfinishedOutput);
  endProcess(status);
}

// What went wrong, in the run-time layer's words for message `number`.
std::string messageText(int number) {
  const std::string_view reason = messageReason(static_cast<Message>(number));
  if (reason.empty()) return "run-time error " + std::to_string(number);
  return std::string(reason);
}

// Every failure that ends the run arrives here once the run-time layer has closed its
// files; its own diagnostic is not written.
void handleFailure(const RunFailure& failure) {
  switch (failure.kind) {
    case FailureKind::Terminate:
      // The process ends by SIGTERM once this returns; no unfinished file stays.
      if (unfinishedOutput[0] != '\0') removeFile(unfinishedOutput);
      return;
    case FailureKind::ConsoleEvent:
      endWithLine(kFailureStatus, {"interrupted"});
    case FailureKind::ProcessorException:
      // Met in a signal handler: no formatting, no allocation.
      endWithLine(kFailureStatus, {"internal fault: ", failure.reason});
    case FailureKind::InputOutput:
    case FailureKind::Memory:
      break;
  }
  const int64_t line = readingLine != nullptr ? *readingLine : 0;
  std::string record;
  const Message message = static_cast<Message>(failure.number);
  if ((message == Message::SyntaxError || message == Message::ConversionError) &&
      readingFile != nullptr && line > 0) {
    record = recordText(readingFile, line);
  }
  const std::string text = describeRuntimeFailure(failure.number, readingFile, line, record);
  endWithLine(kFailureStatus, {text});
}

}  // namespace

void failView(int status, const char* format, ...) {
  claimRunEnd();
  char text[2048];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  const size_t kept = length < 0 ? 0 : std::min(static_cast<size_t>(length), sizeof text - 1);
  endWithLine(status, {std::string_view(text, kept)});
}

void setViewReading(const char* fileName, const int64_t* line) {
  readingFile = fileName;
  readingLine = line;
}

void setUnfinishedOutput(const char* path) {
  if (path == nullptr) {
    unfinishedOutput[0] = '\0';
    return;
  }
  std::snprintf(unfinishedOutput, sizeof unfinishedOutput, "%s", path);
}

void installViewFailureHook() {
  // The run-time layer's diagnostics give way to the one-line error, and the model and
  // mesh are read with the normal record ends, whatever terminator they were written with.
  setFailureHandler(handleFailure);
  useNormalTerminators();
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
