// The open connections by unit number, and the lock that serialises their changes.
#pragma once

#include <cstdint>
#include <mutex>

struct Connection;

/// Most connections open at once (the utility needs three).
constexpr int kMaxConnections = 8;

/// The lock that serialises changes of the table and closing connections.
std::mutex& terminationLock();

/// A fresh connection entered for `unit`; nullptr when the table is full, the unit is
/// taken, or another thread is ending the run. The caller holds the termination lock.
Connection* takeConnection(int32_t unit);

/// Removes `connection` from the table and makes its entry free again; its output must
/// have been released. The caller holds the termination lock.
void giveBackConnection(Connection* connection);

/// The connection of `unit`, or nullptr.
Connection* lookUpConnection(int32_t unit);

/// The connection in slot `index` (0 .. kMaxConnections-1), or nullptr. Async-signal-safe.
Connection* connectionInSlot(int index);

/// Releases and forgets every connection, its handle left alone; for tests that end the
/// run through a hook, after the connections have been closed.
void discardAllConnections();
