#include "runtime/connections/resolve_file_name.h"

#include <cstring>
#include <string>

#include "runtime/diagnostics/message.h"
#include "runtime/environment/device_names.h"
#include "runtime/platform/system_calls.h"

int32_t resolveFileName(const char* name, int length, ResolvedName& resolved) {
  resolved = ResolvedName{};
  size_t end = length < 0 ? 0 : static_cast<size_t>(length);
  if (end > kMaxFileName) end = kMaxFileName;
  size_t begin = 0;
  while (begin < end && name[begin] == ' ') ++begin;
  while (end > begin && (name[end - 1] == ' ' || name[end - 1] == '\0')) --end;
  std::string_view trimmed(name + begin, end - begin);
  if (trimmed.empty()) return 0;

  DeviceKind device = deviceForName(trimmed);
  if (device != DeviceKind::None) {
    std::string_view base = trimmed.substr(0, trimmed.rfind('.'));
    // The device is named by its base; the rest of a name such as con.txt is dropped.
    std::memcpy(resolved.fileName, base.data(), base.size());
    resolved.device = device;
    return 0;
  }

  // The full path when the system gives one that fits, else the name as it stands.
  const std::string given(trimmed);
  char full[kMaxFileName + 1];
  const int64_t fullLength = systemCalls().fullPath(given.c_str(), full, sizeof full);
  const std::string_view chosen =
      fullLength > 0 ? std::string_view(full, static_cast<size_t>(fullLength)) : trimmed;
  if (chosen.size() > kMaxFileName) return numberOf(Message::BadFileName);
  std::memcpy(resolved.fileName, chosen.data(), chosen.size());
  return 0;
}
