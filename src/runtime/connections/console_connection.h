// The console output, unit -1, connected on first use.
#pragma once

#include "runtime/connections/connection.h"
#include "runtime/diagnostics/failure.h"

/// The console output connection, made now if this is its first use; nullptr with
/// `failure` when the file the FOR_PRINT switch names cannot be opened, or the run is ending
/// on another thread (the stop).
Connection* consoleConnection(Failure& failure);
