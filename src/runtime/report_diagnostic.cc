#include "runtime/report_diagnostic.h"

#include <cstdlib>
#include <cstring>
#include <string_view>

#include "runtime/diagnostic_output.h"
#include "runtime/failure_handler.h"
#include "runtime/message_catalogue.h"
#include "runtime/run_end.h"
#include "runtime/stack_listing.h"

int formatMessageLine(TextBuffer& buffer, int32_t number, const MessageArgument* arguments,
                      int argumentCount) {
  const MessageEntry* entry = findMessage(number);
  int severity = entry != nullptr ? static_cast<int>(entry->severity) : 4;
  MessageArgument numberArgument;
  numberArgument.number = number;
  appendFormatted(buffer, messagePrefix(severity), &numberArgument, 1);
  if (entry != nullptr) appendFormatted(buffer, entry->text, arguments, argumentCount);
  appendText(buffer, "\n");
  return severity;
}

namespace {

// Builds and emits one diagnostic.
void emitDiagnostic(int32_t number, const MessageArgument* arguments, int argumentCount) {
  const MessageEntry* entry = findMessage(number);
  int severity = entry != nullptr ? static_cast<int>(entry->severity) : 4;
  DiagnosticSwitches switches = readDiagnosticSwitches();
  bool listing = switches.forceListing || (severity >= 3 && !switches.disableListing);

  char* storage = static_cast<char*>(std::malloc(kDiagnosticBufferBytes));
  if (storage == nullptr) {
    // No room for a listing: the line alone, in a buffer just large enough for it.
    char line[1024];
    TextBuffer buffer{line, sizeof line, 0, false};
    formatMessageLine(buffer, number, arguments, argumentCount);
    writeDiagnosticText(switches, buffer.data, buffer.length);
    return;
  }
  TextBuffer buffer{storage, kDiagnosticBufferBytes, 0, false};
  formatMessageLine(buffer, number, arguments, argumentCount);
  if (listing) appendCallStackListing(buffer, switches.verboseListing);
  writeDiagnosticText(switches, buffer.data, buffer.length);
  std::free(storage);
}

bool isSevere(int32_t number) {
  const MessageEntry* entry = findMessage(number);
  return entry == nullptr || entry->severity == Severity::Severe;
}

// The text of a message without its unit and file part, for a failure handler.
std::string_view reasonOf(int32_t number) {
  const MessageEntry* entry = findMessage(number);
  if (entry == nullptr) return {};
  std::string_view text = entry->text;
  const size_t unit = text.find(", unit %d");
  return unit == std::string_view::npos ? text : text.substr(0, unit);
}

// The two values of an input/output message: the unit number and the file name.
struct UnitAndFile {
  MessageArgument values[2];
  UnitAndFile(int32_t unit, const char* fileName) {
    values[0].number = unit;
    values[1].isText = true;
    values[1].text = fileName;
  }
};

// Ends the run for severe message `number`: a failure handler takes it, or the
// diagnostic is written and the run finished.
[[noreturn]] void endForSevere(int32_t number, const MessageArgument* arguments, int argumentCount,
                               const RunFailure& failure) {
  // A severe message ends the run: only one thread may do that, and a thread that
  // comes second leaves the ending to the first.
  claimRunEnd();
  if (failureHandler() != nullptr) finishRun(number, RunEndKind::Severe, &failure);
  emitDiagnostic(number, arguments, argumentCount);
  finishRun(number, RunEndKind::Severe, nullptr);
}

}  // namespace

void reportDiagnostic(int32_t number) {
  if (isSevere(number)) reportSevere(number);
  if (failureHandler() == nullptr) emitDiagnostic(number, nullptr, 0);
}

void reportDiagnostic(int32_t number, const char* text) {
  MessageArgument argument;
  argument.isText = true;
  argument.text = text;
  if (isSevere(number)) {
    RunFailure failure;
    failure.number = failure.status = number;
    failure.kind = FailureKind::Memory;
    failure.reason = reasonOf(number);
    endForSevere(number, &argument, 1, failure);
  }
  if (failureHandler() == nullptr) emitDiagnostic(number, &argument, 1);
}

void reportSevere(int32_t number) {
  RunFailure failure;
  failure.number = failure.status = number;
  failure.kind = FailureKind::Memory;
  failure.reason = reasonOf(number);
  endForSevere(number, nullptr, 0, failure);
}

void reportSevere(int32_t number, int32_t unit, const char* fileName, int64_t recordsRead) {
  UnitAndFile arguments(unit, fileName);
  RunFailure failure;
  failure.number = failure.status = number;
  failure.kind = FailureKind::InputOutput;
  failure.unit = unit;
  failure.fileName = fileName;
  failure.recordsRead = recordsRead;
  failure.reason = reasonOf(number);
  endForSevere(number, arguments.values, 2, failure);
}

void reportDiagnosticOnly(int32_t number, int32_t unit, const char* fileName) {
  if (failureHandler() != nullptr) return;
  UnitAndFile arguments(unit, fileName);
  emitDiagnostic(number, arguments.values, 2);
}
