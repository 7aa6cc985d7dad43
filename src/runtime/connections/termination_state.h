// The process-wide termination lock and the state it guards.
#pragma once

#include <mutex>

/// The lock that serialises closing connections and changing the connection table.
std::mutex& terminationLock();

/// True once all connections have been closed (guarded by the termination lock).
bool& connectionsClosed();

/// Clears the closed state; for tests that end the run through a hook.
void forgetConnectionsClosedForTests();
