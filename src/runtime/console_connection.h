// The console output, unit -1, connected on first use.
#pragma once

struct Connection;

/// The unit number of the console output.
constexpr int kConsoleUnit = -1;

/// The console output connection, made now if this is its first use.
Connection& consoleConnection();
