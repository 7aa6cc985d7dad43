#include "view/view_failure.h"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string_view>

#include "runtime/message_catalogue.h"
#include "runtime/process_end.h"
#include "view/record_text.h"

namespace {

const char* readingFile = nullptr;
const int64_t* readingLine = nullptr;

// Kept in a fixed array so that a failure met in a signal handler can still remove it.
char unfinishedOutput[PATH_MAX + 64] = {};

void writeAll(const char* text, size_t length) {
  while (length > 0) {
    const ssize_t n = write(2, text, length);
    if (n <= 0) return;
    text += n;
    length -= static_cast<size_t>(n);
  }
}

// Writes the program name and `pieces` as one line, removes the unfinished output and
// ends the process. Allocates nothing, so that a fault handler may use it too.
[[noreturn]] void endWithLine(int status, std::initializer_list<std::string_view> pieces) {
  writeAll("boxpaint-view: ", 15);
  for (std::string_view piece : pieces) writeAll(piece.data(), piece.size());
  writeAll("\n", 1);
  if (unfinishedOutput[0] != '\0') unlink(unfinishedOutput);
  _exit(status);
}

// The run-time layer's text of message `number`, without its unit and file part.
std::string messageText(int number) {
  const MessageEntry* entry = findMessage(number);
  if (entry == nullptr) return "run-time error " + std::to_string(number);
  std::string text = entry->text;
  const size_t unit = text.find(", unit %d");
  if (unit != std::string::npos) text.erase(unit);
  return text;
}

// Every end the run-time layer brings about arrives here, its own text silenced.
void endHook(int status) {
  if (status >= 0 && status <= 2) {
    // Console events (interrupt, quit, hang-up) end with these statuses.
    endWithLine(kFailureStatus, {"interrupted"});
  }
  const MessageEntry* entry = findMessage(status);
  if (entry != nullptr && std::strncmp(entry->text, "Program Exception", 17) == 0) {
    // Met in a signal handler: no formatting, no allocation.
    endWithLine(kFailureStatus, {"internal fault: ", entry->text});
  }
  const int64_t line = readingLine != nullptr ? *readingLine : 0;
  std::string record;
  if ((status == 59 || status == 64) && readingFile != nullptr && line > 0) {
    record = recordText(readingFile, line);
  }
  const std::string text = describeRuntimeFailure(status, readingFile, line, record);
  endWithLine(kFailureStatus, {text});
}

}  // namespace

void failView(int status, const char* format, ...) {
  if (!claimProcessEnd()) waitForProcessEnd();
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
  // The run-time layer reads these switches at each diagnostic: its own text is
  // silenced, and nothing may send it elsewhere or end the process before the hook.
  setenv("FOR_DISABLE_DIAGNOSTIC_DISPLAY", "1", 1);
  setenv("FOR_DISABLE_STACK_TRACE", "1", 1);
  for (const char* name : {"FOR_FORCE_STACK_TRACE", "FOR_DIAGNOSTIC_LOG_FILE", "FORT0",
                           "f77_dump_flag", "decfort_dump_flag", "FOR_FMT_TERMINATOR"}) {
    unsetenv(name);
  }
  setProcessEndHook(endHook);
}

std::string describeRuntimeFailure(int number, const char* fileName, int64_t line,
                                   const std::string& recordText) {
  std::string text;
  if (fileName != nullptr) {
    text.append(fileName);
    if (line > 0) text.append(":").append(std::to_string(line));
    text.append(": ");
  }
  if (number == 59 || number == 64) {
    text.append("unreadable value");
    if (!recordText.empty()) text.append(" '").append(recordText).append("'");
    text.append(" (").append(messageText(number)).append(")");
  } else {
    text.append(messageText(number));
  }
  return text;
}
