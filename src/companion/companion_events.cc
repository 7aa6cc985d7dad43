#include "companion/companion_events.h"

#include <climits>
#include <cstring>
#include <string_view>

#include "companion/end_program.h"
#include "companion/exit_status.h"
#include "companion/system_files.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/ending/run_end.h"

namespace {

const char* programName = "";
RunFailureWords workFailureWords = nullptr;

// A fixed array, so that a handler inside a signal handler can still remove it.
char unfinishedOutput[PATH_MAX + 64] = {};

void removeUnfinishedOutput() {
  if (unfinishedOutput[0] != '\0') removeFile(unfinishedOutput);
}

// Writes the program's name and `pieces` as one line on standard error. Allocates
// nothing, so that a fault handler may use it.
void writeLine(std::initializer_list<std::string_view> pieces) {
  const FileHandle error = standardOutput(true);
  writeWhole(error, programName, std::strlen(programName));
  writeWhole(error, ": ", 2);
  for (std::string_view piece : pieces) writeWhole(error, piece.data(), piece.size());
  writeWhole(error, "\n", 1);
}

// Every failure that ends the run arrives here once the run-time layer has closed its
// files; its own diagnostic is not written.
void handleFailure(const RunFailure& failure) {
  removeUnfinishedOutput();
  switch (failure.kind) {
    case FailureKind::Terminate:
      return;  // the process ends by the signal
    case FailureKind::ConsoleEvent:
      writeLine({"interrupted"});
      endProcess(kFailureStatus);
    case FailureKind::ProcessorException:
      // Inside a signal handler: no formatting, no allocation.
      writeLine({"internal fault: ", failure.reason});
      endProcess(kFailureStatus);
    case FailureKind::InputOutput:
    case FailureKind::Memory:
      break;
  }
  const Message message = static_cast<Message>(failure.number);
  const CompanionFailure words = workFailureWords(
      failure.fileName != nullptr
          ? fileFailure(message, failure.unit, failure.fileName, failure.recordsRead)
          : failureOf(message));
  writeFailure(programName, words);
  endProcess(words.status);
}

}  // namespace

void installCompanionFailureHandler(const char* program, RunFailureWords words) {
  programName = program;
  workFailureWords = words;
  setFailureHandler(handleFailure);
}

void setUnfinishedOutput(const char* path) {
  const size_t length = path != nullptr ? std::strlen(path) : 0;
  if (length >= sizeof unfinishedOutput) return;
  std::memcpy(unfinishedOutput, path != nullptr ? path : "", length);
  unfinishedOutput[length] = '\0';
}
