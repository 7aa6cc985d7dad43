#include "runtime/diagnostics/diagnostic_output.h"

#include <atomic>

#include "runtime/platform/file_transfers.h"

namespace {

std::atomic<bool> firstDiagnosticDone{false};

}  // namespace

void writeDiagnosticText(const DiagnosticSwitches& switches, const char* text, size_t length) {
  SystemCalls& system = systemCalls();
  if (!firstDiagnosticDone.exchange(true) && switches.errorFile != nullptr) {
    system.redirectStandardError(switches.errorFile);
  }
  SystemError error = 0;
  // Nothing more can be said about a diagnostic that cannot be written.
  if (!switches.disableDisplay) {
    writeAll(system.standardStream(StandardStream::Error), text, length, &error);
  }
  if (switches.logFile != nullptr) {
    const FileHandle log = openFileRetrying(switches.logFile, OpenIntent::Append, &error);
    if (log != kNoFile) {
      writeAll(log, text, length, &error);
      closeFileOnce(log, &error);
    }
  }
}
