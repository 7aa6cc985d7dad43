#include "companion/end_program.h"

#include <cstdio>

#include "companion/exit_status.h"
#include "runtime/ending/run_end.h"

void endProgram(int status) {
  if (std::fflush(stdout) != 0 && status == 0) status = kFailureStatus;
  claimRunEnd();
  endProcess(status);
}
