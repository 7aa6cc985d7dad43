#include "runtime/connection_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "runtime/connection.h"
#include "runtime/io_failure.h"
#include "runtime/process_end.h"
#include "runtime/report_diagnostic.h"

namespace {

// Gathered records are handed over once this much is held: large blocks keep the
// number of system calls small on models of hundreds of megabytes.
constexpr size_t kBlockBytes = 1024 * 1024;
constexpr size_t kInitialCapacity = 4096;
constexpr int64_t kWritebackBytes = 8 * 1024 * 1024;

// Writes all `count` bytes; returns how many reached the file.
size_t writeFully(int fd, const char* bytes, size_t count) {
  size_t written = 0;
  while (written < count) {
    ssize_t n = write(fd, bytes + written, count - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<size_t>(n);
  }
  return written;
}

// Cuts the file at `length`; false when the system refuses.
bool cutFile(int fd, off_t length) {
  int result;
  do {
    result = ftruncate(fd, length);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// The end of the last whole record among the first `written` bytes of the block.
size_t wholeRecordsIn(const OutputBlock& out, size_t written) {
  size_t whole = 0;
  int runs = out.runCount.load(std::memory_order_acquire);
  for (int i = 0; i < runs; ++i) {
    const RecordRun& run = out.runs[i];
    size_t end = run.end.load(std::memory_order_relaxed);
    if (written >= end) {
      whole = end;
      continue;
    }
    if (written > run.start) whole = run.start + (written - run.start) / run.length * run.length;
    break;
  }
  return whole;
}

// Hands over the complete records; the caller holds the hand-over lock. With
// `compact`, the current record moves to the start of the block (only the writing
// thread may do that).
bool handOverLocked(Connection& connection, bool compact) {
  OutputBlock& out = connection.output;
  if (out.closed || out.failed) return false;
  size_t count = out.complete.load(std::memory_order_acquire);
  if (count == 0) return true;
  size_t written = writeFully(connection.fd, out.block, count);
  if (written < count) {
    // Keep only whole records: cut behind the last one that reached the file.
    size_t whole = wholeRecordsIn(out, written);
    if (out.regularFile && (written > whole || (connection.truncateOnFirstWrite && whole > 0))) {
      // The run ends with message 38 either way; a file that cannot be cut keeps the
      // partial record, and nothing more can be done about it.
      if (!cutFile(connection.fd, out.fileOffset + static_cast<off_t>(whole))) out.failed = true;
    }
    out.failed = true;
    return false;
  }
  out.fileOffset += static_cast<int64_t>(count);
  if (out.regularFile && out.fileOffset - out.writebackOffset >= kWritebackBytes) {
    // Let the disk take the records while the run goes on, rather than leaving
    // hundreds of megabytes to be written after the process has ended.
    (void)sync_file_range(connection.fd, out.writebackOffset, out.fileOffset - out.writebackOffset,
                          SYNC_FILE_RANGE_WRITE);
    out.writebackOffset = out.fileOffset;
  }
  if (connection.truncateOnFirstWrite) {
    // The old content of the file goes once the first records are in place.
    connection.truncateOnFirstWrite = false;
    if (!cutFile(connection.fd, out.fileOffset)) {
      out.failed = true;
      return false;
    }
  }
  if (compact) {
    std::memmove(out.block, out.block + count, out.used - count);
    out.used -= count;
    out.runCount.store(0, std::memory_order_relaxed);
    out.complete.store(0, std::memory_order_release);
  }
  return true;
}

// Hands over from the writing thread; ends the run when the system refuses.
void handOverOrFail(Connection& connection) {
  bool ok;
  bool closedByEnd;
  {
    std::lock_guard<std::mutex> guard(connection.handOverLock);
    closedByEnd = connection.output.closed;
    ok = !closedByEnd && handOverLocked(connection, true);
  }
  if (closedByEnd) waitForProcessEnd();  // another thread is ending the run
  if (!ok) ioFailure(38, connection);
}

void ensureRoom(Connection& connection, size_t count) {
  OutputBlock& out = connection.output;
  size_t needed = out.used + count + 2;  // and the terminator
  if (needed <= out.capacity) return;
  bool refused = false;
  {
    // A thread ending the run reads the block under this lock; it must never see a
    // block being moved.
    std::lock_guard<std::mutex> guard(connection.handOverLock);
    size_t capacity = out.capacity == 0 ? kInitialCapacity : out.capacity;
    while (capacity < needed) capacity *= 2;
    char* grown = static_cast<char*>(std::realloc(out.block, capacity));
    if (grown != nullptr) {
      out.block = grown;
      out.capacity = capacity;
    }
    refused = grown == nullptr;
  }
  // Reported outside the lock: ending the run hands over what this connection holds.
  if (refused) reportDiagnostic(41);
}

// Counts `count` records of `length` bytes that end at `used` as complete, and hands
// them over when the connection asks for that or the block is full.
void completeRecordsEndingAtUsed(Connection& connection, size_t count, size_t length) {
  OutputBlock& out = connection.output;
  int runs = out.runCount.load(std::memory_order_relaxed);
  uint32_t end = static_cast<uint32_t>(out.used);
  uint32_t start = static_cast<uint32_t>(out.used - count * length);
  if (runs > 0 && out.runs[runs - 1].length == length &&
      out.runs[runs - 1].end.load(std::memory_order_relaxed) == start) {
    out.runs[runs - 1].end.store(end, std::memory_order_relaxed);
  } else {
    RecordRun& run = out.runs[runs];
    run.start = start;
    run.length = static_cast<uint32_t>(length);
    run.end.store(end, std::memory_order_relaxed);
    out.runCount.store(++runs, std::memory_order_release);
  }
  out.complete.store(out.used, std::memory_order_release);
  if (!out.gather || out.used >= kBlockBytes || runs == kMaxRecordRuns) {
    handOverOrFail(connection);
  }
}

}  // namespace

std::string_view recordTerminator(const Connection& connection) {
  switch (connection.terminator) {
    case TerminatorKind::CR:
      return "\r";
    case TerminatorKind::LF:
      return "\n";
    case TerminatorKind::Normal:
    case TerminatorKind::CRLF:
      break;
  }
  return "\r\n";
}

void startRecord(Connection& connection) {
  OutputBlock& out = connection.output;
  out.used = out.complete.load(std::memory_order_relaxed);
}

char* recordSpace(Connection& connection, size_t count) {
  ensureRoom(connection, count);
  return connection.output.block + connection.output.used;
}

void appendToRecord(Connection& connection, const char* bytes, size_t count) {
  char* room = recordSpace(connection, count);
  if (count > 0) std::memcpy(room, bytes, count);
  connection.output.used += count;
}

void completeRecord(Connection& connection) {
  OutputBlock& out = connection.output;
  std::string_view terminator = recordTerminator(connection);
  ensureRoom(connection, terminator.size());
  std::memcpy(out.block + out.used, terminator.data(), terminator.size());
  out.used += terminator.size();
  completeRecordsEndingAtUsed(connection, 1,
                              out.used - out.complete.load(std::memory_order_relaxed));
}

size_t recordBatch(Connection& connection, size_t recordLength, size_t wanted) {
  OutputBlock& out = connection.output;
  size_t count = 1;
  if (out.gather && out.used < kBlockBytes) {
    count = (kBlockBytes - out.used + recordLength - 1) / recordLength;
  }
  if (count > wanted) count = wanted;
  ensureRoom(connection, count * recordLength);
  return count;
}

void completeRecords(Connection& connection, size_t count, size_t recordLength) {
  if (count == 0) return;
  connection.output.used += count * recordLength;
  completeRecordsEndingAtUsed(connection, count, recordLength);
}

bool handOverHeldRecords(Connection& connection) {
  std::lock_guard<std::mutex> guard(connection.handOverLock);
  if (connection.output.closed) return true;
  return handOverLocked(connection, true);
}

bool handOverForEnd(Connection& connection) {
  std::lock_guard<std::mutex> guard(connection.handOverLock);
  OutputBlock& out = connection.output;
  if (out.closed) return true;
  bool ok = out.failed || handOverLocked(connection, false);
  out.closed = true;
  return ok;
}

bool handOverWithoutLock(Connection& connection) {
  bool ok = handOverLocked(connection, false);
  connection.output.closed = true;
  return ok;
}

void releaseOutput(Connection& connection) {
  std::lock_guard<std::mutex> guard(connection.handOverLock);
  OutputBlock& out = connection.output;
  std::free(out.block);
  out.block = nullptr;
  out.capacity = out.used = 0;
  out.runCount.store(0);
  out.complete.store(0);
}
