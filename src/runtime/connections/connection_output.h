// Records on a write connection: room for a batch, its commit, and the drain at close.
// Each failure of the output channel ends the run with the connection's message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "runtime/records/record_batch.h"

struct Connection;

/// Makes `connection` a write connection whose records reach the system through its
/// handle. Disk files and pipes gather records; consoles and devices write each at once.
/// A disk file's old content goes when the first records are handed over, unless it is
/// a device.
void startOutput(Connection& connection, bool device);

/// Room for up to `wanted` (> 0) records of `length` bytes each, terminators included:
/// at least one. Ends the run with message 41 when memory is refused.
RecordRoom reserveRecords(Connection& connection, size_t length, size_t wanted);

/// Completes the first `count` records of the room last reserved. A refused write ends
/// the run with message 38.
void commitRecords(Connection& connection, size_t count);

/// Tells a write connection that at least `bytes` more are to be written, so that a long
/// output is handed to the system by the writer thread from its first buffer.
void expectOutput(Connection& connection, uint64_t bytes);

/// The bytes that end each record of the connection.
std::string_view recordTerminator(const Connection& connection);

/// Hands every complete record of a write connection to the system and waits until it
/// is there. A refused write ends the run with message 38; never returns when the run is
/// ending on another thread.
void drainConnection(Connection& connection);
