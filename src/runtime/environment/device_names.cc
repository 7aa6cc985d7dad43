#include "runtime/environment/device_names.h"

#include <cctype>

namespace {

struct DeviceName {
  std::string_view name;
  DeviceKind device;
  bool extensionAllowed;  // still a device with an extension, as in con.txt
};

// The reserved names this platform connects to something other than a file. PRN,
// COM1-COM4, LPT1-LPT4, AUX and LINE have no such device here and stay ordinary
// file names. Names beginning with E, L or U, and CONOUT$ and CONIN$, are devices
// only without an extension.
constexpr DeviceName kDeviceNames[] = {
    {"CON", DeviceKind::StandardOutput, true},   {"CONOUT$", DeviceKind::StandardOutput, false},
    {"USER", DeviceKind::StandardOutput, false}, {"CONIN$", DeviceKind::StandardInput, false},
    {"ERR", DeviceKind::StandardError, false},   {"NUL", DeviceKind::Null, true},
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
  // A name with a directory part always names a file.
  if (name.find('/') != std::string_view::npos) return DeviceKind::None;
  size_t stop = name.rfind('.');
  std::string_view base = name.substr(0, stop);
  bool extension = stop != std::string_view::npos && stop + 1 < name.size();
  for (const DeviceName& device : kDeviceNames) {
    if ((device.extensionAllowed || !extension) && equalIgnoringCase(base, device.name)) {
      return device.device;
    }
  }
  return DeviceKind::None;
}
