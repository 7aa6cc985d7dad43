// Reserved device names: bare names that connect to a standard stream or the null
// device instead of a file.
#pragma once

#include <string_view>

/// The reserved device a bare name stands for.
enum class DeviceKind { None, StandardOutput, StandardInput, StandardError, Null };

/// The device a trimmed name stands for, or DeviceKind::None for an ordinary file:
/// only a bare name whose part before the last full stop is a reserved name, in
/// any case; con.txt and nul.dat are devices, err.log and conout$.txt are files.
DeviceKind deviceForName(std::string_view name);
