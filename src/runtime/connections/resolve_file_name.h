// Turning a blank-padded name buffer into the file a connection opens.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/connections/connection.h"
#include "runtime/environment/device_names.h"

/// What a name resolved to.
struct ResolvedName {
  char fileName[kMaxFileName + 1] = {};  // full path, or the name itself when too long
  DeviceKind device = DeviceKind::None;
};

/// Resolves the first (at most 256) characters of `name`: blanks trimmed, a reserved
/// device recognised, an ordinary name made a full path. Returns 0, or 43 when the
/// name to use is longer than 256 characters. An empty name resolves to the empty
/// file name, which no open can find.
int32_t resolveFileName(const char* name, int length, ResolvedName& resolved);
