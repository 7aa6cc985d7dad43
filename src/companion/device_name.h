// Names that boxpaint takes for devices rather than files, so that the companions can
// tell their user so instead of reading or writing a device in a file's place.
#pragma once

#include <string>
#include <string_view>

#include "runtime/environment/device_names.h"

/// The device a name stands for.
struct NamedDevice {
  DeviceKind kind = DeviceKind::None;  // None: the name of a file
  std::string words;                   // "the device CON (standard output)"
};

/// The device that `name` (blanks around it left out) stands for when boxpaint opens it,
/// by the reserved names boxpaint knows, or when the system does (on Windows also
/// "sub\CON", "con.txt.bak" and the like, which the system makes devices of).
NamedDevice namedDevice(std::string_view name);
