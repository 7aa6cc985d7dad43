#include "runtime/records/buffer_writes.h"

#include <algorithm>

#include "runtime/platform/file_transfers.h"
#include "runtime/records/gather_ring.h"

namespace {

// Pieces of a pipe write that the system takes whole or not at all.
constexpr size_t kAtomicPipeBytes = 4096;

// The end of the last whole record of `buffer` at or before `offset` (within the buffer).
size_t recordEndAtOrBefore(const GatherBuffer& buffer, size_t offset) {
  size_t whole = 0;
  const int runs = buffer.runCount.load(std::memory_order_acquire);
  for (int i = 0; i < runs; ++i) {
    const RecordRun& run = buffer.runs[i];
    const size_t end = run.end.load(std::memory_order_relaxed);
    if (offset >= end) {
      whole = end;
      continue;
    }
    if (offset > run.start) whole = run.start + (offset - run.start) / run.length * run.length;
    break;
  }
  return whole;
}

// The end of the piece of a pipe write that starts at `from`: whole records, at most
// PIPE_BUF bytes, so that the system takes each piece whole or not at all; a record
// longer than that goes alone.
size_t streamPieceEnd(const GatherBuffer& buffer, size_t from, size_t to) {
  const size_t end = recordEndAtOrBefore(buffer, std::min(to, from + kAtomicPipeBytes));
  if (end > from) return end;
  const int runs = buffer.runCount.load(std::memory_order_acquire);
  for (int i = 0; i < runs; ++i) {
    const RecordRun& run = buffer.runs[i];
    if (from >= run.start && from < run.end.load(std::memory_order_relaxed)) {
      return std::min(to, from + run.length);
    }
  }
  return to;
}

// Raises `confirmed` to `offset`; it never falls back.
void confirm(OutputChannel& channel, uint64_t offset) {
  uint64_t seen = channel.confirmed.load();
  while (seen < offset && !channel.confirmed.compare_exchange_weak(seen, offset)) {
  }
}

int64_t fileSize(FileHandle fd) {
  FileFacts facts;
  return systemCalls().describeFile(fd, &facts) ? static_cast<int64_t>(facts.size) : -1;
}

// An existing file loses its old content just before the first records take its place:
// it is cut behind them, so that it never holds new records followed by old ones.
bool cutOldContent(OutputChannel& channel, uint64_t newEnd) {
  const FileHandle fd = channel.fd.load();
  if (fileSize(fd) > static_cast<int64_t>(newEnd)) {
    SystemError error = 0;
    if (!cutFileRetrying(fd, newEnd, &error)) {
      channel.failure.store(error != 0 ? error : systemError(ErrorName::Io));
      return false;
    }
    channel.fileChanged.store(true);
  }
  channel.truncateOnFirstWrite.store(false);
  return true;
}

// Waits until a pipe can take a piece, or the deadline passes (false).
bool waitWritable(FileHandle fd, int64_t deadlineNs) {
  for (;;) {
    const int64_t left = deadlineNs - systemCalls().monotonicNanoseconds();
    if (left <= 0) return false;
    const int wait = static_cast<int>(std::min<int64_t>(left / 1000000 + 1, 100));
    if (systemCalls().waitWritable(fd, wait)) return true;
  }
}

#ifdef BOXPAINT_WRITEBACK_MIB
}  // namespace
#include <fcntl.h>
namespace {
// Asks the disk to take what has been written since the last request, once that is
// BOXPAINT_WRITEBACK_MIB MiB. Only the comparison build has it, for its one model file.
void requestWriteback(FileHandle fd, uint64_t end) {
  static uint64_t requested = 0;
  if (end - requested < (uint64_t{BOXPAINT_WRITEBACK_MIB} << 20)) return;
  sync_file_range(static_cast<int>(fd), static_cast<off_t>(requested),
                  static_cast<off_t>(end - requested), SYNC_FILE_RANGE_WRITE);
  requested = end;
}
#endif

// Writes the complete bytes of buffer `sequence` that have not reached the file yet.
// With `deadlineNs`, a pipe that takes nothing until then stops the writing; with
// `stopOnEnding`, so does the end of the run taking the writer's place.
}  // namespace

Outcome writeBuffer(OutputChannel& channel, uint64_t sequence, int64_t deadlineNs,
                    bool stopOnEnding) {
  const GatherBuffer& buffer = bufferOf(channel, sequence);
  const uint64_t extent = buffer.extent.load(std::memory_order_acquire);
  const uint64_t start = startOf(extent);
  const size_t length = lengthOf(extent);
  const uint64_t confirmed = channel.confirmed.load();
  if (start + length <= confirmed) return Outcome::Done;
  const FileHandle fd = channel.fd.load();
  size_t at = confirmed > start ? static_cast<size_t>(confirmed - start) : 0;
  while (at < length) {
    if (stopOnEnding && channel.ending.load()) return Outcome::Stopped;
    const bool disk = channel.kind == ChannelKind::DiskFile;
    const size_t end = disk ? length : streamPieceEnd(buffer, at, length);
    if (channel.truncateOnFirstWrite.load() && !cutOldContent(channel, start + end)) {
      return Outcome::Failed;
    }
    if (!disk && deadlineNs != 0 && !waitWritable(fd, deadlineNs)) return Outcome::Stopped;
    SystemError error = 0;
    const int64_t n =
        disk ? systemCalls().writeFileAt(fd, buffer.bytes + at, end - at, start + at, &error)
             : systemCalls().writeFile(fd, buffer.bytes + at, end - at, &error);
    if (n < 0 && isError(error, ErrorName::Interrupted)) continue;
    if (n <= 0) {
      channel.failure.store(n < 0 && error != 0 ? error : systemError(ErrorName::Io));
      return Outcome::Failed;
    }
    channel.fileChanged.store(true);
    at += static_cast<size_t>(n);
    confirm(channel, start + at);
#ifdef BOXPAINT_WRITEBACK_MIB
    // Built for comparison only: ask the disk to take each stretch of this many MiB as
    // the run goes on. Left to the kernel, as every Unix tool leaves it, the run is faster.
    if (disk) requestWriteback(fd, start + at);
#endif
  }
  return Outcome::Done;
}

// Cuts a disk file that has been cut or written back to its last whole record.
void cutToWholeRecords(OutputChannel& channel) {
  if (channel.kind != ChannelKind::DiskFile || !channel.fileChanged.load()) return;
  const uint64_t confirmed = channel.confirmed.load();
  uint64_t whole = confirmed;
  const uint64_t current = channel.current.load();
  const uint64_t first = current >= kGatherBuffers - 1 ? current - (kGatherBuffers - 1) : 0;
  for (uint64_t sequence = first; sequence <= current; ++sequence) {
    const GatherBuffer& buffer = bufferOf(channel, sequence);
    const uint64_t extent = buffer.extent.load(std::memory_order_acquire);
    const uint64_t start = startOf(extent);
    if (confirmed >= start && confirmed < start + lengthOf(extent)) {
      whole = start + recordEndAtOrBefore(buffer, static_cast<size_t>(confirmed - start));
    }
  }
  const FileHandle fd = channel.fd.load();
  if (fileSize(fd) > static_cast<int64_t>(whole)) {
    // A file that cannot be cut keeps the partial record; the run ends with 38 anyway.
    SystemError error = 0;
    if (!cutFileRetrying(fd, whole, &error)) return;
  }
}
