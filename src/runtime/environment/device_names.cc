#include "runtime/environment/device_names.h"

#include <cctype>

#include "runtime/platform/system_calls.h"

namespace {

struct DeviceName {
  std::string_view name;
  DeviceKind device;
  bool extensionAllowed;  // still a device with an extension, as in con.txt
};

// The reserved names. The Named ones are devices only where the system opens such
// devices by name; elsewhere they stay ordinary file names. Names beginning with E, L or
// U, and CONOUT$ and CONIN$, are devices only without an extension.
constexpr DeviceName kDeviceNames[] = {
    {"CON", DeviceKind::StandardOutput, true},
    {"CONOUT$", DeviceKind::StandardOutput, false},
    {"USER", DeviceKind::StandardOutput, false},
    {"CONIN$", DeviceKind::StandardInput, false},
    {"ERR", DeviceKind::StandardError, false},
    {"NUL", DeviceKind::Null, true},
    {"PRN", DeviceKind::Named, true},
    {"AUX", DeviceKind::Named, true},
    {"COM1", DeviceKind::Named, true},
    {"COM2", DeviceKind::Named, true},
    {"COM3", DeviceKind::Named, true},
    {"COM4", DeviceKind::Named, true},
    {"LPT1", DeviceKind::Named, false},
    {"LPT2", DeviceKind::Named, false},
    {"LPT3", DeviceKind::Named, false},
    {"LPT4", DeviceKind::Named, false},
    {"LINE", DeviceKind::Named, false},
};

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != b[i]) return false;
  }
  return true;
}

}  // namespace

DeviceKind deviceForName(std::string_view name) {
  const SystemCalls& system = systemCalls();
  // A name with a folder or drive part always names a file.
  if (name.find_first_of(system.folderMarks) != std::string_view::npos) return DeviceKind::None;
  size_t stop = name.rfind('.');
  std::string_view base = name.substr(0, stop);
  bool extension = stop != std::string_view::npos && stop + 1 < name.size();
  for (const DeviceName& device : kDeviceNames) {
    if (device.device == DeviceKind::Named && !system.namedDevices) continue;
    if ((device.extensionAllowed || !extension) && equalIgnoringCase(base, device.name)) {
      return device.device;
    }
  }
  return DeviceKind::None;
}
