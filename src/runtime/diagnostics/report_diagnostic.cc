#include "runtime/diagnostics/report_diagnostic.h"

#include <string_view>

#include "runtime/diagnostics/diagnostic_output.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/diagnostics/stack_listing.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/ending/run_end.h"
#include "runtime/platform/system_calls.h"

int formatMessageLine(TextBuffer& buffer, Message message, const MessageArgument* arguments,
                      int argumentCount) {
  const int32_t number = numberOf(message);
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
void emitDiagnostic(Message message, const MessageArgument* arguments, int argumentCount) {
  const MessageEntry* entry = findMessage(numberOf(message));
  int severity = entry != nullptr ? static_cast<int>(entry->severity) : 4;
  DiagnosticSwitches switches = readDiagnosticSwitches();
  bool listing = switches.forceListing || (severity >= 3 && !switches.disableListing);

  char* storage = static_cast<char*>(systemCalls().allocate(kDiagnosticBufferBytes));
  if (storage == nullptr) {
    // No room for a listing: the line alone, in a buffer just large enough for it.
    char line[1024];
    TextBuffer buffer{line, sizeof line, 0, false};
    formatMessageLine(buffer, message, arguments, argumentCount);
    writeDiagnosticText(switches, buffer.data, buffer.length);
    return;
  }
  TextBuffer buffer{storage, kDiagnosticBufferBytes, 0, false};
  formatMessageLine(buffer, message, arguments, argumentCount);
  if (listing) appendCallStackListing(buffer, switches.verboseListing);
  writeDiagnosticText(switches, buffer.data, buffer.length);
  systemCalls().release(storage);
}

bool isSevere(Message message) {
  const MessageEntry* entry = findMessage(numberOf(message));
  return entry == nullptr || entry->severity == Severity::Severe;
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

// Ends the run for severe `message`: a failure handler takes it, or the diagnostic is
// written and the run finished.
[[noreturn]] void endForSevere(Message message, const MessageArgument* arguments, int argumentCount,
                               const RunFailure& failure) {
  // A severe message ends the run: only one thread may do that, and a thread that
  // comes second leaves the ending to the first.
  claimRunEnd();
  if (failureHandler() != nullptr) finishRun(numberOf(message), RunEndKind::Severe, &failure);
  emitDiagnostic(message, arguments, argumentCount);
  finishRun(numberOf(message), RunEndKind::Severe, nullptr);
}

}  // namespace

void reportDiagnostic(Message message) {
  if (isSevere(message)) reportSevere(message);
  if (failureHandler() == nullptr) emitDiagnostic(message, nullptr, 0);
}

void reportDiagnostic(Message message, const char* text) {
  MessageArgument argument;
  argument.isText = true;
  argument.text = text;
  if (isSevere(message)) {
    RunFailure failure;
    failure.number = failure.status = numberOf(message);
    failure.kind = FailureKind::Memory;
    failure.reason = messageReason(message);
    endForSevere(message, &argument, 1, failure);
  }
  if (failureHandler() == nullptr) emitDiagnostic(message, &argument, 1);
}

void reportSevere(Message message) {
  RunFailure failure;
  failure.number = failure.status = numberOf(message);
  failure.kind = FailureKind::Memory;
  failure.reason = messageReason(message);
  endForSevere(message, nullptr, 0, failure);
}

void reportSevere(Message message, int32_t unit, const char* fileName, int64_t recordsRead) {
  UnitAndFile arguments(unit, fileName);
  RunFailure failure;
  failure.number = failure.status = numberOf(message);
  failure.kind = FailureKind::InputOutput;
  failure.unit = unit;
  failure.fileName = fileName;
  failure.recordsRead = recordsRead;
  failure.reason = messageReason(message);
  endForSevere(message, arguments.values, 2, failure);
}

void reportDiagnosticOnly(Message message, int32_t unit, const char* fileName, EndSetting setting) {
  if (failureHandler() != nullptr) return;
  UnitAndFile arguments(unit, fileName);
  if (setting == EndSetting::SignalHandler) {
    reportInSignalHandler(message, arguments.values, 2);
  } else {
    emitDiagnostic(message, arguments.values, 2);
  }
}

void reportInSignalHandler(Message message, const MessageArgument* arguments, int argumentCount) {
  // One diagnostic at a time: only the thread that claimed the end of the run gets here.
  static char text[kDiagnosticBufferBytes];
  const DiagnosticSwitches& switches = capturedDiagnosticSwitches();
  TextBuffer buffer{text, sizeof text, 0, false};
  const int severity = formatMessageLine(buffer, message, arguments, argumentCount);
  if (switches.forceListing || (severity >= 3 && !switches.disableListing)) {
    appendSignalSafeListing(buffer);
  }
  writeDiagnosticText(switches, buffer.data, buffer.length);
}
