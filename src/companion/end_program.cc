#include "companion/end_program.h"

#include <string>

#include "companion/exit_status.h"
#include "companion/system_files.h"
#include "runtime/ending/run_end.h"

CompanionFailure writeStandardOutput(std::string_view text) {
  const SystemError error = writeWhole(standardOutput(), text.data(), text.size());
  if (error == 0) return {};
  return failureOf(kFailureStatus, "cannot write to standard output: " + errorText(error));
}

CompanionFailure writeHelpOrVersion(bool help, const char* helpText, const char* program) {
  if (help) return writeStandardOutput(helpText);
  return writeStandardOutput(std::string(program) + " " BOXPAINT_VERSION "\n");
}

void writeFailure(const char* program, const CompanionFailure& failure) {
  // Said even to a reader that has gone (a closed pipe): nothing more can be done if that
  // fails too.
  if (!failure.json.empty()) writeWhole(standardOutput(), failure.json.data(), failure.json.size());
  const std::string text = std::string(program) + ": " + failure.text + "\n" + failure.detail;
  writeWhole(standardOutput(true), text.data(), text.size());
}

void endProgram(const char* program, const CompanionFailure& failure) {
  claimRunEnd();
  if (failure) writeFailure(program, failure);
  endProcess(failure.status);
}
