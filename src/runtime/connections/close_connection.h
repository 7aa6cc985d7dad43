// Closing connections: one unit at a time during the run, after a failure, or all of them
// at its end.
#pragma once

#include <cstdint>

#include "runtime/diagnostics/failure.h"
#include "runtime/ending/run_end.h"

/// Nanoseconds the end of the run waits for a pipe or device that takes nothing before it
/// drops the records that could not be handed over.
constexpr int64_t kEndHandOverNanoseconds = 800 * 1000 * 1000;

/// Hands over what is held for output and waits until it has reached the file, closes the
/// file (keeping it) and forgets the unit. Nothing happens when the unit is not connected.
/// Returns no failure, 38 for a refused write (the file then keeps whole records) or 28 for
/// a failing close. When the run is ending on another thread the connection is left to
/// that end, and the stop returned.
Failure closeConnection(int32_t unit);

/// Closes `unit` after `failure` ended its use: a write connection whose own write was
/// refused hands over nothing more (its file keeps whole records), any other hands over the
/// complete records it holds. A failure of the closing itself is not reported. Nothing
/// happens when the unit is not connected or the run is ending on another thread.
void closeAfterFailure(int32_t unit, const Failure& failure);

/// Closes its unit as after refused memory (41) when it goes out of scope with the unit
/// still connected: for a caller's code run while the file is open, so that an exception
/// passing through (memory refused to a container, where no handler ends the run) leaves no
/// connection behind. Every ordinary path has closed the unit by then.
struct UnitScope {
  int32_t unit;
  ~UnitScope() { closeAfterFailure(unit, failureOf(Message::OutOfMemory)); }
};

/// Hands over what every write connection holds and waits until it has reached its file,
/// leaving the connections open. Done before the plain stop claims the end, so that a
/// console event can still end a run whose output is blocked. Returns no failure, 38 for a
/// refused write, or the stop when the run is ending on another thread.
Failure drainAllConnections();

/// The first step of every end of the run: each write connection stops taking records and
/// hands over the complete records it holds (a pipe or device that takes nothing until
/// `deadlineNs` loses what it could not take, whole records only). The connections stay
/// open. Takes no lock inside a handler. Returns the first refused hand-over (38).
Failure handOverAllConnections(int64_t deadlineNs, EndSetting setting);

/// The last step before the process ends: closes the handles of the connections that the
/// calling thread opened. A handle that another thread may still be using (a file it reads
/// or writes) is left for the process's end to close, once no thread runs. Nothing inside
/// a handler. Returns the first failing close (28).
Failure closeConnectionsAtEnd(EndSetting setting);
