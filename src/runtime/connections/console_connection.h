// The console output, unit -1, connected on first use.
#pragma once

#include "runtime/connections/connection.h"

/// The console output connection, made now if this is its first use.
Connection& consoleConnection();
