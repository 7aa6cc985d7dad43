// Building records on a write connection and handing them to the system.
#pragma once

#include <cstddef>
#include <string_view>

struct Connection;

/// Starts a new, empty current record (drops an incomplete one).
void startRecord(Connection& connection);

/// Returns room for `count` more bytes behind the current record, for records that
/// `completeRecords` then counts. Ends the run with message 41 when memory is refused.
char* recordSpace(Connection& connection, size_t count);

/// Appends bytes to the current record.
void appendToRecord(Connection& connection, const char* bytes, size_t count);

/// Completes the current record with the connection's terminator. Console and device
/// records are handed over at once; disk files gather records into blocks. A refused
/// write ends the run with message 38.
void completeRecord(Connection& connection);

/// How many of `wanted` records of `recordLength` bytes (terminator included) to build
/// at once behind the complete ones, with room made for them: 1 where each record is
/// handed over on completion, else at most enough to fill the block.
size_t recordBatch(Connection& connection, size_t recordLength, size_t wanted);

/// Completes `count` records of `recordLength` bytes each, terminators included,
/// written back to back into the room from `recordSpace`/`recordBatch`.
void completeRecords(Connection& connection, size_t count, size_t recordLength);

/// The bytes that end each record of the connection.
std::string_view recordTerminator(const Connection& connection);

/// Hands over the complete records still held. False when the system refused them;
/// the file then ends at the last whole record that reached it.
bool handOverHeldRecords(Connection& connection);

/// Hands over the complete records still held and marks the connection closed, for
/// a thread that ends the run while the main thread may still be writing. False when
/// the system refused them.
bool handOverForEnd(Connection& connection);

/// Hands over the complete records without taking any lock, for a fault handler
/// whose thread may hold one. False when the system refused them.
bool handOverWithoutLock(Connection& connection);

/// Frees the record memory of a connection that is no longer used.
void releaseOutput(Connection& connection);
