#include "runtime/report_diagnostic.h"

#include <cstdlib>

#include "runtime/diagnostic_output.h"
#include "runtime/message_catalogue.h"
#include "runtime/open_connection.h"
#include "runtime/process_end.h"
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

// Builds and emits one diagnostic; returns its severity.
int emitDiagnostic(int32_t number, const MessageArgument* arguments, int argumentCount) {
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
    return severity;
  }
  TextBuffer buffer{storage, kDiagnosticBufferBytes, 0, false};
  formatMessageLine(buffer, number, arguments, argumentCount);
  if (listing) appendCallStackListing(buffer, switches.verboseListing);
  writeDiagnosticText(switches, buffer.data, buffer.length);
  std::free(storage);
  return severity;
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

[[noreturn]] void endAfterSevere(int32_t number) {
  closeAllConnections();
  if (readDiagnosticSwitches().dumpOnSevere) abort();
  endProcess(number);
}

void report(int32_t number, const MessageArgument* arguments, int argumentCount) {
  const MessageEntry* entry = findMessage(number);
  bool severe = entry == nullptr || entry->severity == Severity::Severe;
  // A severe message ends the run: only one thread may do that, and a thread that
  // comes second leaves the ending to the first.
  if (severe && !claimProcessEnd()) waitForProcessEnd();
  emitDiagnostic(number, arguments, argumentCount);
  if (severe) endAfterSevere(number);
}

}  // namespace

void reportDiagnostic(int32_t number) {
  report(number, nullptr, 0);
}

void reportDiagnostic(int32_t number, int32_t unit, const char* fileName) {
  UnitAndFile arguments(unit, fileName);
  report(number, arguments.values, 2);
}

void reportDiagnostic(int32_t number, const char* text) {
  MessageArgument argument;
  argument.isText = true;
  argument.text = text;
  report(number, &argument, 1);
}

void reportDiagnosticOnly(int32_t number, int32_t unit, const char* fileName) {
  UnitAndFile arguments(unit, fileName);
  emitDiagnostic(number, arguments.values, 2);
}
