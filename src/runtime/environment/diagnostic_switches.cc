#include "runtime/environment/diagnostic_switches.h"

#include "runtime/environment/environment_switches.h"

DiagnosticSwitches readDiagnosticSwitches() {
  DiagnosticSwitches switches;
  switches.disableListing = switchIsTrue("FOR_DISABLE_STACK_TRACE");
  switches.forceListing = switchIsTrue("FOR_FORCE_STACK_TRACE");
  switches.verboseListing = switchIsTrue("FOR_ENABLE_VERBOSE_STACK_TRACE") ||
                            switchIsTrue("TBK_ENABLE_VERBOSE_STACK_TRACE");
  switches.disableDisplay = switchIsTrue("FOR_DISABLE_DIAGNOSTIC_DISPLAY");
  switches.dumpOnSevere = switchIsTrue("f77_dump_flag") || switchIsTrue("decfort_dump_flag");
  switches.logFile = switchValue("FOR_DIAGNOSTIC_LOG_FILE");
  switches.errorFile = switchValue("FORT0");
  return switches;
}

namespace {
DiagnosticSwitches captured;  // written once, at start-up, before any handler can run
}  // namespace

void captureDiagnosticSwitches() {
  captured = readDiagnosticSwitches();
}

const DiagnosticSwitches& capturedDiagnosticSwitches() {
  return captured;
}
