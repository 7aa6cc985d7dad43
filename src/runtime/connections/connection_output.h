// Building records on a write connection and handing them to the system.
#pragma once

#include <cstddef>
#include <string_view>

#include "runtime/records/output_channel.h"

struct Connection;

/// Sets up the output of a new write connection whose records reach the system as
/// `kind` says. With `truncateOnFirstWrite`, the file's old content goes when the first
/// records are handed over.
void startOutput(Connection& connection, ChannelKind kind, bool truncateOnFirstWrite);

/// Starts a new, empty current record (drops an incomplete one).
void startRecord(Connection& connection);

/// Returns room for `count` more bytes behind the current record, for records that
/// `completeRecords` then counts. Ends the run with message 41 when memory is refused.
char* recordSpace(Connection& connection, size_t count);

/// Appends bytes to the current record.
void appendToRecord(Connection& connection, const char* bytes, size_t count);

/// Completes the current record with the connection's terminator. A direct connection
/// hands it to the system at once; a gathering one hands it over with its buffer. A
/// refused write ends the run with message 38.
void completeRecord(Connection& connection);

/// How many of `wanted` records of `recordLength` bytes (terminator included) to build
/// at once behind the complete ones, with room made for them: 1 on a direct connection,
/// else as many as fit in the current buffer.
size_t recordBatch(Connection& connection, size_t recordLength, size_t wanted);

/// Completes `count` records of `recordLength` bytes each, terminators included,
/// written back to back into the room from `recordSpace`/`recordBatch`.
void completeRecords(Connection& connection, size_t count, size_t recordLength);

/// The bytes that end each record of the connection.
std::string_view recordTerminator(const Connection& connection);

/// Hands every complete record of a write connection to the system and waits until it is
/// there. A refused write ends the run with message 38; never returns when the run is
/// ending on another thread.
void drainConnection(Connection& connection);
