#include "runtime/record_terminator.h"

#include <atomic>
#include <mutex>

#include "runtime/environment_switches.h"
#include "runtime/report_diagnostic.h"
#include "runtime/terminator_setting.h"

namespace {

std::once_flag switchRead;
TerminatorSetting setting;  // written once, under `switchRead`
bool switchMalformed = false;
std::atomic<bool> malformedReported{false};

void readTerminatorSwitch() {
  const char* value = switchValue("FOR_FMT_TERMINATOR");
  if (value == nullptr) return;
  // A malformed value leaves every connection with its normal terminator.
  switchMalformed = !parseTerminatorSetting(value, setting);
}

}  // namespace

TerminatorKind terminatorForUnit(int32_t unit) {
  std::call_once(switchRead, readTerminatorSwitch);
  // The warning is given outside the once-guard, so that nothing it does can come
  // back here while the guard is held, and only by the first connection.
  if (switchMalformed && !malformedReported.exchange(true)) reportDiagnostic(96);
  return terminatorInSetting(setting, unit);
}
