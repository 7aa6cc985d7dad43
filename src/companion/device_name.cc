#include "companion/device_name.h"

#include <cctype>

#include "runtime/diagnostics/failure.h"
#include "runtime/platform/system_calls.h"

namespace {

// What a device is, in a user's words.
const char* deviceKindText(DeviceKind kind) {
  switch (kind) {
    case DeviceKind::StandardOutput:
      return "standard output";
    case DeviceKind::StandardInput:
      return "standard input";
    case DeviceKind::StandardError:
      return "standard error";
    case DeviceKind::Null:
      return "the null device";
    case DeviceKind::Named:
    case DeviceKind::None:
      break;
  }
  return "a device of the system";
}

std::string upperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// The prefix of a full path that the system gives for a device it opens by name.
constexpr std::string_view kSystemDevice = "\\\\.\\";

}  // namespace

NamedDevice namedDevice(std::string_view name) {
  const size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  name = name.substr(first, name.find_last_not_of(' ') + 1 - first);
  NamedDevice device;
  device.kind = deviceForName(name);
  std::string base(name.substr(0, name.rfind('.')));
  if (device.kind == DeviceKind::None) {
    // A name the system itself opens as a device: its full path says so.
    const std::string given(name);
    char full[kMaxFileName + 1];
    const int64_t length = systemCalls().fullPath(given.c_str(), full, sizeof full);
    const std::string_view path(full, length > 0 ? static_cast<size_t>(length) : 0);
    if (!path.starts_with(kSystemDevice)) return {};
    device.kind = DeviceKind::Named;
    base = path.substr(kSystemDevice.size());
  }
  device.words = "the device " + upperCase(base) + " (" + deviceKindText(device.kind) + ")";
  return device;
}
