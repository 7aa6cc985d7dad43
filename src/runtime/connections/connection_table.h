// The open connections by unit number. Changes happen under the termination lock.
#pragma once

#include <cstdint>

struct Connection;

/// Most connections open at once (the utility needs three).
constexpr int kMaxConnections = 8;

/// Enters `connection` for its unit. False when the table is full, the unit is
/// taken, or the connections have already been closed for the end of the run.
/// The caller holds the termination lock.
bool enterConnection(Connection* connection);

/// Removes the entry of `unit` and returns it (nullptr when none). The caller holds
/// the termination lock.
Connection* removeConnection(int32_t unit);

/// The entry of `unit`, or nullptr.
Connection* lookUpConnection(int32_t unit);

/// Removes and frees every entry; for tests that end the run through a hook, after
/// the connections have been closed.
void discardAllConnections();

/// The entry in slot `index` (0 .. kMaxConnections-1), or nullptr; for closing all.
Connection* connectionInSlot(int index);
