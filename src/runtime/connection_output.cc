#include "runtime/connection_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "runtime/connection.h"
#include "runtime/io_failure.h"
#include "runtime/process_end.h"
#include "runtime/report_diagnostic.h"

namespace {

// Disk files are handed over once this much has been gathered.
constexpr size_t kBlockBytes = 64 * 1024;
constexpr size_t kInitialCapacity = kBlockBytes + 4096;
constexpr size_t kRecordEndCapacity = 16384;

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
    size_t whole = 0;
    size_t records = out.recordCount.load(std::memory_order_relaxed);
    for (size_t i = 0; i < records && out.recordEnds[i] <= written; ++i) {
      whole = out.recordEnds[i];
    }
    if (out.regularFile && (written > whole || (connection.truncateOnFirstWrite && whole > 0))) {
      (void)ftruncate(connection.fd, out.fileOffset + static_cast<off_t>(whole));
    }
    out.failed = true;
    return false;
  }
  out.fileOffset += static_cast<int64_t>(count);
  if (connection.truncateOnFirstWrite) {
    // The old content of the file goes once the first records are in place.
    connection.truncateOnFirstWrite = false;
    if (ftruncate(connection.fd, out.fileOffset) != 0) {
      out.failed = true;
      return false;
    }
  }
  if (compact) {
    std::memmove(out.block, out.block + count, out.used - count);
    out.used -= count;
    out.recordCount.store(0, std::memory_order_relaxed);
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
  if (out.block != nullptr && needed <= out.capacity && out.recordEnds != nullptr) return;
  bool refused = false;
  {
    // A thread ending the run reads the block under this lock; it must never see a
    // block being moved.
    std::lock_guard<std::mutex> guard(connection.handOverLock);
    size_t capacity = out.capacity == 0 ? kInitialCapacity : out.capacity;
    while (capacity < needed) capacity *= 2;
    if (out.recordEnds == nullptr) {
      out.recordEnds = static_cast<uint32_t*>(std::malloc(kRecordEndCapacity * sizeof(uint32_t)));
      out.recordCapacity = out.recordEnds != nullptr ? kRecordEndCapacity : 0;
      refused = out.recordEnds == nullptr;
    }
    if (!refused && (capacity != out.capacity || out.block == nullptr)) {
      char* grown = static_cast<char*>(std::realloc(out.block, capacity));
      if (grown != nullptr) {
        out.block = grown;
        out.capacity = capacity;
      }
      refused = grown == nullptr;
    }
  }
  // Reported outside the lock: ending the run hands over what this connection holds.
  if (refused) reportDiagnostic(41);
}

}  // namespace

void startRecord(Connection& connection) {
  OutputBlock& out = connection.output;
  out.used = out.complete.load(std::memory_order_relaxed);
}

char* recordSpace(Connection& connection, size_t count) {
  ensureRoom(connection, count);
  return connection.output.block + connection.output.used;
}

void advanceRecord(Connection& connection, size_t count) {
  connection.output.used += count;
}

void appendToRecord(Connection& connection, const char* bytes, size_t count) {
  char* room = recordSpace(connection, count);
  if (count > 0) std::memcpy(room, bytes, count);
  connection.output.used += count;
}

void completeRecord(Connection& connection) {
  OutputBlock& out = connection.output;
  ensureRoom(connection, 0);
  switch (connection.terminator) {
    case TerminatorKind::CR:
      out.block[out.used++] = '\r';
      break;
    case TerminatorKind::LF:
      out.block[out.used++] = '\n';
      break;
    case TerminatorKind::Normal:
    case TerminatorKind::CRLF:
      out.block[out.used++] = '\r';
      out.block[out.used++] = '\n';
      break;
  }
  size_t records = out.recordCount.load(std::memory_order_relaxed);
  out.recordEnds[records++] = static_cast<uint32_t>(out.used);
  out.recordCount.store(records, std::memory_order_relaxed);
  out.complete.store(out.used, std::memory_order_release);
  if (!out.gather || out.used >= kBlockBytes || records == out.recordCapacity) {
    handOverOrFail(connection);
  }
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
  std::free(out.recordEnds);
  out.block = nullptr;
  out.recordEnds = nullptr;
  out.capacity = out.used = out.recordCapacity = 0;
  out.recordCount.store(0);
  out.complete.store(0);
}
