// The records (lines) of an input file, cut out of large block reads.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/diagnostics/message.h"

struct Connection;

/// The record buffer of one input file and the current record in it.
struct RecordSource {
  char* buffer = nullptr;  // grows by doubling, never shrinks while the file is open
  size_t capacity = 0;
  int64_t bufferOffset = 0;  // where in the file buffer[0] lies
  size_t recordStart = 0;    // the current record is buffer[recordStart, recordEnd)
  size_t recordEnd = 0;
  size_t followingStart = 0;  // bytes already read beyond the current record
  size_t followingCount = 0;
  size_t searchedCount = 0;  // leading following bytes known to hold no record end
  int64_t recordCount = 0;   // records fetched so far
  bool fileEnded = false;    // a read has returned no bytes
};

/// Bytes past the end of the data in the buffer that may be read (they hold zeros or
/// earlier data), so that a scanner can read several bytes at once near the end.
constexpr size_t kReadableSlack = 16;

/// Where the bytes that may be read past the current record end: the buffer's data and
/// kReadableSlack bytes after it.
inline const char* readableEnd(const RecordSource& source) {
  return source.buffer + source.followingStart + source.followingCount + kReadableSlack;
}

/// The byte that ends a record of `connection`'s file. Under the CR terminator a record
/// ends at every CR and a line feed is an ordinary byte; otherwise it ends at a line feed
/// and the CRs just before it go.
char inputRecordEnd(const Connection& connection);

/// Makes the next record of `connection`'s file current. Returns None, or the failure: 24
/// at the end of the file (or at a record holding only 0x1A), 39 when a read fails and 98
/// when the buffer cannot grow.
Message fetchRecord(RecordSource& source, Connection& connection);

/// Where in the file the next record starts.
inline int64_t followingOffset(const RecordSource& source) {
  return source.bufferOffset + static_cast<int64_t>(source.followingStart);
}

/// Makes the buffer hold at least `capacity` bytes, so that each read takes that many
/// at most. False, and the buffer as it was, when the memory is refused.
bool widenRecordSource(RecordSource& source, size_t capacity);

/// Passes over the `count` records held in the first `length` following bytes (their
/// terminators included) as though each had been fetched in turn.
void skipRecords(RecordSource& source, Connection& connection, size_t length, int64_t count);

/// Frees the record buffer.
void releaseRecordSource(RecordSource& source);
