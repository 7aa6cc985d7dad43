#include "runtime/diagnostics/report_diagnostic.h"

#include <atomic>

#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/diagnostics/stack_listing.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/environment/diagnostic_switches.h"
#include "runtime/platform/file_transfers.h"

namespace {

std::atomic<bool> firstDiagnosticDone{false};

// The severity of `entry`; a number with no entry counts as severe.
int severityOf(const MessageEntry* entry) {
  return entry != nullptr ? static_cast<int>(entry->severity) : 4;
}

// The line of message `number`, whose entry (or nullptr) has been found already.
void formatLine(TextBuffer& buffer, const MessageEntry* entry, int32_t number,
                const MessageArgument* arguments, int argumentCount) {
  MessageArgument numberArgument;
  numberArgument.number = number;
  appendFormatted(buffer, messagePrefix(severityOf(entry)), &numberArgument, 1);
  if (entry != nullptr) appendFormatted(buffer, entry->text, arguments, argumentCount);
  appendText(buffer, "\n");
}

// Writes the text of one diagnostic: to standard error (reopened on the first diagnostic
// when asked) unless the display is disabled, and to the log file. Nothing more can be
// said about a diagnostic that cannot be written.
void writeText(const DiagnosticSwitches& switches, const TextBuffer& text) {
  SystemCalls& system = systemCalls();
  if (!firstDiagnosticDone.exchange(true) && switches.errorFile != nullptr) {
    system.redirectStandardError(switches.errorFile);
  }
  SystemError error = 0;
  if (!switches.disableDisplay) {
    writeAll(system.standardStream(StandardStream::Error), text.data, text.length, &error);
  }
  if (switches.logFile != nullptr) {
    const FileHandle log = openFileRetrying(switches.logFile, OpenIntent::Append, &error);
    if (log != kNoFile) {
      writeAll(log, text.data, text.length, &error);
      closeFileOnce(log, &error);
    }
  }
}

bool wantsListing(const DiagnosticSwitches& switches, int severity) {
  return switches.forceListing || (severity >= 3 && !switches.disableListing);
}

}  // namespace

int formatMessageLine(TextBuffer& buffer, Message message, const MessageArgument* arguments,
                      int argumentCount) {
  const MessageEntry* entry = findMessage(numberOf(message));
  formatLine(buffer, entry, numberOf(message), arguments, argumentCount);
  return severityOf(entry);
}

Diagnostic diagnosticOf(const Failure& failure) {
  Diagnostic diagnostic;
  diagnostic.message = failure.message;
  if (failure.unit != 0) {
    diagnostic.arguments[0].number = failure.unit;
    diagnostic.arguments[1].isText = true;
    diagnostic.arguments[1].text = failure.fileName;
    diagnostic.argumentCount = 2;
  }
  return diagnostic;
}

void writeDiagnostic(const Diagnostic& diagnostic, EndSetting setting) {
  if (failureHandler() != nullptr) return;
  const int32_t number = numberOf(diagnostic.message);
  const MessageEntry* entry = findMessage(number);
  const int severity = severityOf(entry);
  if (setting == EndSetting::SignalHandler) {
    // One diagnostic at a time: only the thread that claimed the end of the run gets here.
    static char text[kDiagnosticBufferBytes];
    const DiagnosticSwitches& switches = capturedDiagnosticSwitches();
    TextBuffer buffer{text, sizeof text, 0, false};
    formatLine(buffer, entry, number, diagnostic.arguments, diagnostic.argumentCount);
    if (wantsListing(switches, severity)) appendSignalSafeListing(buffer);
    writeText(switches, buffer);
    return;
  }
  const DiagnosticSwitches switches = readDiagnosticSwitches();
  char* storage = static_cast<char*>(systemCalls().allocate(kDiagnosticBufferBytes));
  if (storage == nullptr) {
    // No room for a listing: the line alone, in a buffer just large enough for it.
    char line[1024];
    TextBuffer buffer{line, sizeof line, 0, false};
    formatLine(buffer, entry, number, diagnostic.arguments, diagnostic.argumentCount);
    writeText(switches, buffer);
    return;
  }
  TextBuffer buffer{storage, kDiagnosticBufferBytes, 0, false};
  formatLine(buffer, entry, number, diagnostic.arguments, diagnostic.argumentCount);
  if (wantsListing(switches, severity)) appendCallStackListing(buffer, switches.verboseListing);
  writeText(switches, buffer);
  systemCalls().release(storage);
}

void reportDiagnostic(Message message) {
  Diagnostic diagnostic;
  diagnostic.message = message;
  writeDiagnostic(diagnostic);
}

void reportDiagnostic(Message message, const char* text) {
  Diagnostic diagnostic;
  diagnostic.message = message;
  diagnostic.arguments[0].isText = true;
  diagnostic.arguments[0].text = text;
  diagnostic.argumentCount = 1;
  writeDiagnostic(diagnostic);
}
