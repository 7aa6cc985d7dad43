// Reserved device names: bare names that connect to a standard stream, the null device
// or, where the system has them, a device it opens by name, instead of a file.
#pragma once

#include <string_view>

/// The reserved device a bare name stands for. Named: a device the system opens by its
/// name (PRN, COM1-COM4, LPT1-LPT4, AUX, LINE), only where the system has such devices.
enum class DeviceKind { None, StandardOutput, StandardInput, StandardError, Null, Named };

/// The device a trimmed name stands for, or DeviceKind::None for an ordinary file:
/// only a bare name (no folder mark of the system) whose part before the last full stop
/// is a reserved name, in any case; con.txt and nul.dat are devices, err.log and
/// conout$.txt are files.
DeviceKind deviceForName(std::string_view name);
