#include "companion/end_program.h"

#include "companion/exit_status.h"
#include "companion/system_files.h"
#include "runtime/ending/run_end.h"

void endProgram(int status) {
  claimRunEnd();
  endProcess(status);
}

void endProgramWithText(std::string_view text) {
  endProgram(writeWhole(standardOutput(), text.data(), text.size()) == 0 ? 0 : kFailureStatus);
}
