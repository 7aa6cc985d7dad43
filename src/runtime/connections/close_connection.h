// Closing connections: one unit at a time during the run, or all of them at its end.
#pragma once

#include <cstdint>

#include "runtime/ending/run_end.h"

/// Hands over what is held for output and waits until it has reached the file, closes the
/// file (keeping it) and forgets the unit. Nothing happens when the unit is not connected.
/// A refused write ends the run with message 38, a failing close with 28.
void closeConnection(int32_t unit);

/// Hands over what every write connection holds and waits until it has reached its file,
/// leaving the connections open; a refused write ends the run with message 38. Done
/// before the plain stop claims the end, so that a console event can still end a run
/// whose output is blocked.
void drainAllConnections();

/// Closes every connection still open for the end of the run, the console output's
/// included: each hands over what it holds (a pipe or device that takes nothing until
/// `deadlineNs` loses what it could not take, whole records only), and on a thread its
/// handle is closed. A failure is reported (message 38 or 28) without ending the run, and
/// its number returned; else 0.
int32_t closeAllConnections(int64_t deadlineNs, EndSetting setting);
