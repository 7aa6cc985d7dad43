// boxpaint-check: explains what a block file does on a mesh, reading both files exactly as
// boxpaint reads them.
#include "check/program/check_failure.h"
#include "check/program/run_check.h"
#include "companion/end_program.h"
#include "runtime/process/start_runtime.h"

int main(int argc, char** argv) {
  installCheckFailureHandler();
  startRuntime(argc, argv);
  endProgram(kCheckProgram, runCheck(argc, argv));
}
