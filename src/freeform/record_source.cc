#include "freeform/record_source.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "runtime/connections/connection.h"
#include "runtime/platform/file_transfers.h"
#include "runtime/platform/system_calls.h"

namespace {

// Size of the first buffer and so of the first block read.
constexpr size_t kInitialCapacity = 64 * 1024;

// A record that is nothing but this byte marks the end of the file.
constexpr char kEndOfFileMark = 0x1A;

// Gives the buffer room for `capacity` bytes and the readable slack, keeping what it
// holds; false, and the buffer as it was, when the memory is refused. The memory comes
// from the system's `allocate`, so that a wide buffer is filled a large page at a time.
bool resizeBuffer(RecordSource& source, size_t capacity) {
  if (capacity > SIZE_MAX - kReadableSlack) return false;
  char* wider = static_cast<char*>(systemCalls().allocate(capacity + kReadableSlack));
  if (wider == nullptr) return false;
  if (source.buffer == nullptr) {
    // A new buffer holds no data yet: its readable slack starts out zero.
    std::memset(wider, 0, kReadableSlack);
  } else {
    std::memcpy(wider, source.buffer, std::min(source.capacity, capacity) + kReadableSlack);
    systemCalls().release(source.buffer);
  }
  source.buffer = wider;
  source.capacity = capacity;
  return true;
}

// Makes room for more bytes behind the following ones: moves them to the front of
// the buffer, and doubles the buffer when they fill it. False when the memory is refused.
bool makeRoom(RecordSource& source) {
  // The slack past the capacity keeps readable bytes behind the data when it fills the
  // buffer.
  if (source.buffer == nullptr && !resizeBuffer(source, kInitialCapacity)) return false;
  if (source.followingStart > 0) {
    source.bufferOffset += static_cast<int64_t>(source.followingStart);
    std::memmove(source.buffer, source.buffer + source.followingStart, source.followingCount);
    source.followingStart = 0;
  }
  if (source.followingCount == source.capacity) {
    return source.capacity <= SIZE_MAX / 2 && resizeBuffer(source, source.capacity * 2);
  }
  return true;
}

// Reads the next block behind the following bytes; a read that returns nothing marks
// the end of the file. Returns the message of a failure (98, 39), else None.
Message readBlock(RecordSource& source, Connection& connection) {
  if (!makeRoom(source)) return Message::BufferOutOfMemory;
  char* free = source.buffer + source.followingCount;
  const size_t room = source.capacity - source.followingCount;
  SystemError error = 0;
  const int64_t got = readFileRetrying(connection.fd, free, room, &error);
  if (got < 0) return Message::ReadError;
  if (got == 0) {
    source.fileEnded = true;
    return Message::None;
  }
  source.followingCount += static_cast<size_t>(got);
  // What lay behind the new data may never have been written: zero the readable slack.
  std::memset(source.buffer + source.followingCount, 0, kReadableSlack);
  return Message::None;
}

// Takes the following bytes up to `length` as the current record and passes over
// the terminator byte, if any, behind them.
void takeRecord(RecordSource& source, size_t length, bool dropCarriageReturns,
                size_t terminatorLength) {
  size_t end = source.followingStart + length;
  if (dropCarriageReturns) {
    while (end > source.followingStart && source.buffer[end - 1] == '\r') --end;
  }
  source.recordStart = source.followingStart;
  source.recordEnd = end;
  source.followingStart += length + terminatorLength;
  source.followingCount -= length + terminatorLength;
  source.searchedCount = 0;
  ++source.recordCount;
}

}  // namespace

char inputRecordEnd(const Connection& connection) {
  return connection.terminator == TerminatorKind::CR ? '\r' : '\n';
}

Message fetchRecord(RecordSource& source, Connection& connection) {
  const char terminator = inputRecordEnd(connection);
  const bool carriageReturnEnds = terminator == '\r';
  for (;;) {
    const size_t unsearched = source.followingCount - source.searchedCount;
    const void* found = nullptr;
    if (unsearched > 0) {
      const char* searchFrom = source.buffer + source.followingStart + source.searchedCount;
      found = std::memchr(searchFrom, terminator, unsearched);
    }
    if (found != nullptr) {
      const size_t length = static_cast<size_t>(static_cast<const char*>(found) -
                                                (source.buffer + source.followingStart));
      takeRecord(source, length, !carriageReturnEnds, 1);
      break;
    }
    source.searchedCount = source.followingCount;
    if (source.fileEnded) {
      // Text after the last record end is a record of its own.
      if (source.followingCount == 0) return Message::EndOfFile;
      takeRecord(source, source.followingCount, !carriageReturnEnds, 0);
      break;
    }
    if (const Message failure = readBlock(source, connection); failure != Message::None) {
      return failure;
    }
  }
  connection.recordsRead.store(source.recordCount, std::memory_order_relaxed);
  const bool endMark = source.recordEnd - source.recordStart == 1 &&
                       source.buffer[source.recordStart] == kEndOfFileMark;
  return endMark ? Message::EndOfFile : Message::None;
}

bool widenRecordSource(RecordSource& source, size_t capacity) {
  if (capacity <= source.capacity || capacity > SIZE_MAX - kReadableSlack) return true;
  return resizeBuffer(source, capacity);
}

void skipRecords(RecordSource& source, Connection& connection, size_t length, int64_t count) {
  source.followingStart += length;
  source.followingCount -= length;
  source.searchedCount = 0;
  source.recordCount += count;
  connection.recordsRead.store(source.recordCount, std::memory_order_relaxed);
}

void releaseRecordSource(RecordSource& source) {
  systemCalls().release(source.buffer);
  source.buffer = nullptr;
  source.capacity = 0;
  source.followingStart = 0;
  source.followingCount = 0;
  source.searchedCount = 0;
}
