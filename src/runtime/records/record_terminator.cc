#include "runtime/records/record_terminator.h"

#include <atomic>
#include <mutex>

#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/environment/environment_switches.h"
#include "runtime/environment/terminator_setting.h"

namespace {

std::once_flag switchRead;
TerminatorSetting setting;  // written once, under `switchRead`
bool switchMalformed = false;
std::atomic<bool> malformedReported{false};
std::atomic<bool> normalOnly{false};

void readTerminatorSwitch() {
  const char* value = switchValue("FOR_FMT_TERMINATOR");
  if (value == nullptr) return;
  // A malformed value leaves every connection with its normal terminator.
  switchMalformed = !parseTerminatorSetting(value, setting);
}

}  // namespace

void useNormalTerminators() {
  normalOnly.store(true);
}

TerminatorKind terminatorForUnit(int32_t unit) {
  if (normalOnly.load()) return TerminatorKind::Normal;
  std::call_once(switchRead, readTerminatorSwitch);
  // The warning is given outside the once-guard, so that nothing it does can come
  // back here while the guard is held, and only by the first connection.
  if (switchMalformed && !malformedReported.exchange(true))
    reportDiagnostic(Message::TerminatorSwitchIgnored);
  return terminatorInSetting(setting, unit);
}

std::string_view recordTerminatorBytes(TerminatorKind kind) {
  switch (kind) {
    case TerminatorKind::CR:
      return "\r";
    case TerminatorKind::LF:
      return "\n";
    case TerminatorKind::Normal:
    case TerminatorKind::CRLF:
      break;
  }
  return "\r\n";
}
