#include "runtime/output_channel_ring.h"

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "runtime/connection.h"
#include "runtime/io_failure.h"
#include "runtime/process_end.h"
#include "runtime/report_diagnostic.h"

namespace {

constexpr uint64_t kLengthMask = (uint64_t{1} << kLengthBits) - 1;

uint64_t packExtent(uint64_t start, size_t length) {
  return start << kLengthBits | length;
}
uint64_t startOf(uint64_t extent) {
  return extent >> kLengthBits;
}
size_t lengthOf(uint64_t extent) {
  return static_cast<size_t>(extent & kLengthMask);
}

GatherBuffer& bufferOf(OutputChannel& channel, uint64_t sequence) {
  return channel.buffers[sequence % kGatherBuffers];
}

void setWriter(OutputChannel& channel, WriterState state) {
  channel.writer.store(static_cast<int>(state));
}
WriterState writerOf(const OutputChannel& channel) {
  return static_cast<WriterState>(channel.writer.load());
}

void sleepBriefly() {
  timespec pause{0, 1000000};
  nanosleep(&pause, nullptr);
}

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
  const size_t end = recordEndAtOrBefore(buffer, std::min(to, from + PIPE_BUF));
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

int64_t fileSize(int fd) {
  struct stat info;
  return fstat(fd, &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

bool truncateFile(int fd, int64_t length) {
  int result;
  do {
    result = ftruncate(fd, static_cast<off_t>(length));
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// An existing file loses its old content just before the first records take its place:
// it is cut behind them, so that it never holds new records followed by old ones.
bool cutOldContent(Connection& connection, uint64_t newEnd) {
  OutputChannel& channel = connection.output;
  const int fd = connection.fd.load();
  if (fileSize(fd) > static_cast<int64_t>(newEnd)) {
    if (!truncateFile(fd, static_cast<int64_t>(newEnd))) {
      channel.failure.store(errno != 0 ? errno : EIO);
      return false;
    }
    channel.fileChanged.store(true);
  }
  channel.truncateOnFirstWrite.store(false);
  return true;
}

// Waits until a pipe can take a piece, or the deadline passes (false).
bool waitWritable(int fd, int64_t deadlineNs) {
  for (;;) {
    const int64_t left = deadlineNs - monotonicNanoseconds();
    if (left <= 0) return false;
    pollfd entry{fd, POLLOUT, 0};
    const int ready = poll(&entry, 1, static_cast<int>(std::min<int64_t>(left / 1000000 + 1, 100)));
    if (ready > 0) return true;
    if (ready < 0 && errno != EINTR) return true;  // let the write report what is wrong
  }
}

#ifdef BOXPAINT_WRITEBACK_MIB
// Asks the disk to take what has been written since the last request, once that is
// BOXPAINT_WRITEBACK_MIB MiB. Only the comparison build has it, for its one model file.
void requestWriteback(int fd, uint64_t end) {
  static uint64_t requested = 0;
  if (end - requested < (uint64_t{BOXPAINT_WRITEBACK_MIB} << 20)) return;
  sync_file_range(fd, static_cast<off_t>(requested), static_cast<off_t>(end - requested),
                  SYNC_FILE_RANGE_WRITE);
  requested = end;
}
#endif

enum class Outcome { Done, Stopped, Failed };

// Writes the complete bytes of buffer `sequence` that have not reached the file yet.
// With `deadlineNs`, a pipe that takes nothing until then stops the writing; with
// `stopOnEnding`, so does the end of the run taking the writer's place.
Outcome writeBuffer(Connection& connection, uint64_t sequence, int64_t deadlineNs,
                    bool stopOnEnding) {
  OutputChannel& channel = connection.output;
  const GatherBuffer& buffer = bufferOf(channel, sequence);
  const uint64_t extent = buffer.extent.load(std::memory_order_acquire);
  const uint64_t start = startOf(extent);
  const size_t length = lengthOf(extent);
  const uint64_t confirmed = channel.confirmed.load();
  if (start + length <= confirmed) return Outcome::Done;
  const int fd = connection.fd.load();
  size_t at = confirmed > start ? static_cast<size_t>(confirmed - start) : 0;
  while (at < length) {
    if (stopOnEnding && channel.ending.load()) return Outcome::Stopped;
    const bool disk = channel.kind == ChannelKind::DiskFile;
    const size_t end = disk ? length : streamPieceEnd(buffer, at, length);
    if (channel.truncateOnFirstWrite.load() && !cutOldContent(connection, start + end)) {
      return Outcome::Failed;
    }
    if (!disk && deadlineNs != 0 && !waitWritable(fd, deadlineNs)) return Outcome::Stopped;
    const ssize_t n = disk ? pwrite(fd, buffer.bytes + at, end - at, static_cast<off_t>(start + at))
                           : write(fd, buffer.bytes + at, end - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      channel.failure.store(n < 0 && errno != 0 ? errno : EIO);
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

// The writer thread: hands submitted buffers to the system in order until the
// connection closes, a write is refused, or the end of the run takes its place.
void* writeSubmittedBuffers(void* argument) {
  Connection& connection = *static_cast<Connection*>(argument);
  OutputChannel& channel = connection.output;
  for (;;) {
    uint64_t sequence;
    {
      std::unique_lock<std::mutex> guard(channel.lock);
      channel.changed.wait(guard, [&] {
        return channel.ending.load() || channel.written.load() < channel.current.load() ||
               channel.closing;
      });
      if (channel.ending.load() || channel.written.load() >= channel.current.load()) {
        setWriter(channel, channel.ending.load() ? WriterState::Parked : WriterState::Finished);
        channel.changed.notify_all();
        return nullptr;
      }
      sequence = channel.written.load();
      setWriter(channel, WriterState::Writing);
    }
    const Outcome outcome = writeBuffer(connection, sequence, 0, true);
    std::lock_guard<std::mutex> guard(channel.lock);
    if (outcome == Outcome::Done) {
      channel.written.store(sequence + 1);
      setWriter(channel, WriterState::Idle);
    } else {
      setWriter(channel, outcome == Outcome::Failed ? WriterState::Failed : WriterState::Parked);
    }
    channel.changed.notify_all();
    if (outcome != Outcome::Done) return nullptr;
  }
}

// Without a writer thread (it could not be started), the producing thread writes the
// submitted buffers itself, in the writer's role. The lock is held on entry.
void writeInline(Connection& connection, std::unique_lock<std::mutex>& guard) {
  OutputChannel& channel = connection.output;
  while (!channel.ending.load() && channel.written.load() < channel.current.load()) {
    const uint64_t sequence = channel.written.load();
    setWriter(channel, WriterState::Writing);
    guard.unlock();
    const Outcome outcome = writeBuffer(connection, sequence, 0, true);
    guard.lock();
    if (outcome != Outcome::Done) {
      setWriter(channel, outcome == Outcome::Failed ? WriterState::Failed : WriterState::Parked);
      channel.changed.notify_all();
      return;
    }
    channel.written.store(sequence + 1);
    setWriter(channel, WriterState::Idle);
    channel.changed.notify_all();
  }
}

bool allocateBuffer(GatherBuffer& buffer) {
  if (buffer.bytes != nullptr) return true;
  buffer.bytes = static_cast<char*>(std::malloc(kGatherBytes));
  buffer.capacity = buffer.bytes != nullptr ? kGatherBytes : 0;
  return buffer.bytes != nullptr;
}

// Cuts a disk file that has been cut or written back to its last whole record.
void cutToWholeRecords(Connection& connection) {
  OutputChannel& channel = connection.output;
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
  const int fd = connection.fd.load();
  if (fileSize(fd) > static_cast<int64_t>(whole)) {
    // A file that cannot be cut keeps the partial record; the run ends with 38 anyway.
    if (!truncateFile(fd, static_cast<int64_t>(whole))) return;
  }
}

// Stops the writer for the end of the run and waits, until the deadline, for it to
// leave a write under way. True when it did.
bool stopWriter(OutputChannel& channel, int64_t deadlineNs, bool inSignalHandler) {
  if (inSignalHandler) {
    channel.ending.store(true);
  } else {
    std::lock_guard<std::mutex> guard(channel.lock);
    channel.ending.store(true);
    channel.changed.notify_all();
  }
  while (writerOf(channel) == WriterState::Writing) {
    if (monotonicNanoseconds() >= deadlineNs) return false;
    sleepBriefly();
  }
  return true;
}

}  // namespace

int64_t monotonicNanoseconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

GatherBuffer& currentBuffer(Connection& connection) {
  OutputChannel& channel = connection.output;
  GatherBuffer& buffer = bufferOf(channel, channel.current.load(std::memory_order_relaxed));
  if (buffer.bytes == nullptr && !allocateBuffer(buffer)) reportSevere(41);
  return buffer;
}

void publishRecords(Connection& connection, size_t count, size_t length) {
  OutputChannel& channel = connection.output;
  GatherBuffer& buffer = currentBuffer(connection);
  const uint32_t end = static_cast<uint32_t>(channel.used);
  const uint32_t start = static_cast<uint32_t>(channel.used - count * length);
  int runs = buffer.runCount.load(std::memory_order_relaxed);
  if (runs > 0 && buffer.runs[runs - 1].length == length &&
      buffer.runs[runs - 1].end.load(std::memory_order_relaxed) == start) {
    buffer.runs[runs - 1].end.store(end, std::memory_order_relaxed);
  } else {
    RecordRun& run = buffer.runs[runs];
    run.start = start;
    run.length = static_cast<uint32_t>(length);
    run.end.store(end, std::memory_order_relaxed);
    buffer.runCount.store(++runs, std::memory_order_release);
  }
  const uint64_t extent = buffer.extent.load(std::memory_order_relaxed);
  buffer.extent.store(packExtent(startOf(extent), channel.used), std::memory_order_release);
  // A buffer is handed on once it cannot take a further record of this length.
  if (channel.used + length > buffer.capacity || runs == kMaxRecordRuns) {
    submitBuffer(connection, 0, true);
  }
}

void submitBuffer(Connection& connection, size_t incomplete, bool startWriter) {
  OutputChannel& channel = connection.output;
  std::unique_lock<std::mutex> guard(channel.lock);
  const uint64_t sequence = channel.current.load();
  channel.changed.wait(guard, [&] {
    return channel.ending.load() || channel.failure.load() != 0 ||
           sequence + 1 - channel.written.load() < kGatherBuffers;
  });
  if (channel.ending.load()) {
    guard.unlock();
    waitForProcessEnd();  // the end of the run has taken over this connection
  }
  if (channel.failure.load() != 0) {
    guard.unlock();
    ioFailure(38, connection);
  }
  GatherBuffer& full = bufferOf(channel, sequence);
  GatherBuffer& next = bufferOf(channel, sequence + 1);
  // The next buffer's memory is needed now only for an incomplete record to carry over;
  // otherwise the producer asks for it when it writes there.
  if (incomplete > 0 && !allocateBuffer(next)) {
    guard.unlock();
    reportSevere(41);
  }
  const uint64_t extent = full.extent.load(std::memory_order_relaxed);
  // The next buffer's old extent lies wholly before `confirmed`; the new one holds nothing
  // yet. One store makes the change, so that no reader sees a mixture of the two.
  next.runCount.store(0, std::memory_order_relaxed);
  next.extent.store(packExtent(startOf(extent) + lengthOf(extent), 0), std::memory_order_release);
  if (incomplete > 0) std::memcpy(next.bytes, full.bytes + lengthOf(extent), incomplete);
  channel.used = incomplete;
  channel.current.store(sequence + 1);
  if (!channel.threadStarted && startWriter) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    channel.threadStarted =
        pthread_create(&channel.thread, &attributes, writeSubmittedBuffers, &connection) == 0;
    pthread_attr_destroy(&attributes);
  }
  if (!channel.threadStarted) writeInline(connection, guard);
  channel.changed.notify_all();
}

void reserveInBuffer(Connection& connection, size_t bytes) {
  OutputChannel& channel = connection.output;
  GatherBuffer* buffer = &currentBuffer(connection);
  if (channel.used + bytes <= buffer->capacity) return;
  const size_t complete = completeBytes(*buffer);
  if (complete > 0) {
    submitBuffer(connection, channel.used - complete, true);
    buffer = &currentBuffer(connection);
    if (channel.used + bytes <= buffer->capacity) return;
  }
  // A record longer than a buffer: the buffer holds no complete record, so no other
  // thread reads it, and it may move.
  size_t capacity = buffer->capacity;
  while (capacity < channel.used + bytes) capacity *= 2;
  if (capacity > kLengthMask) reportSevere(41);
  char* grown = static_cast<char*>(std::realloc(buffer->bytes, capacity));
  if (grown == nullptr) reportSevere(41);
  buffer->bytes = grown;
  buffer->capacity = capacity;
}

bool drainOutput(Connection& connection) {
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) return true;
  GatherBuffer& buffer = currentBuffer(connection);
  // An incomplete record is dropped; complete ones are submitted. Output that never
  // filled a buffer is written by this thread, without starting a writer.
  if (completeBytes(buffer) > 0) {
    submitBuffer(connection, 0, false);
  }
  std::unique_lock<std::mutex> guard(channel.lock);
  channel.closing = true;
  channel.changed.notify_all();
  if (!channel.threadStarted) {
    writeInline(connection, guard);
    if (writerOf(channel) == WriterState::Idle) setWriter(channel, WriterState::Finished);
  }
  channel.changed.wait(guard, [&] {
    const WriterState state = writerOf(channel);
    return state == WriterState::Finished || state == WriterState::Failed ||
           state == WriterState::Parked;
  });
  const WriterState state = writerOf(channel);
  guard.unlock();
  if (channel.threadStarted) {
    pthread_join(channel.thread, nullptr);
    channel.threadStarted = false;
  }
  if (state == WriterState::Parked) waitForProcessEnd();
  return state == WriterState::Finished;
}

bool handOverForEnd(Connection& connection, int64_t deadlineNs, bool inSignalHandler) {
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) return true;
  const bool writerStopped = stopWriter(channel, deadlineNs, inSignalHandler);
  if (channel.failure.load() != 0) {
    cutToWholeRecords(connection);
    return false;
  }
  // A pipe cannot take bytes again: only when no write is under way, and the producer
  // stands still, is what reached it known exactly. Otherwise the piece under way reaches
  // it whole or not at all, and the rest is dropped. (A fault handler on another thread
  // than the producer's may see the ring move under it.)
  if (channel.kind == ChannelKind::Stream &&
      (!writerStopped || (inSignalHandler && gettid() != getpid()))) {
    return true;
  }
  const uint64_t current = channel.current.load();
  const uint64_t first = current >= kGatherBuffers - 1 ? current - (kGatherBuffers - 1) : 0;
  for (uint64_t sequence = first; sequence <= current; ++sequence) {
    const int64_t deadline = channel.kind == ChannelKind::Stream ? deadlineNs : 0;
    const Outcome outcome = writeBuffer(connection, sequence, deadline, false);
    if (outcome == Outcome::Failed) {
      cutToWholeRecords(connection);
      return false;
    }
    if (outcome == Outcome::Stopped) break;  // the pipe takes nothing more: the rest is dropped
  }
  return true;
}

void abandonOutput(Connection& connection) {
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) return;
  stopWriter(channel, monotonicNanoseconds() + 1000000000, false);
  cutToWholeRecords(connection);
}

void releaseOutput(Connection& connection) {
  OutputChannel& channel = connection.output;
  if (channel.threadStarted) {
    {
      std::lock_guard<std::mutex> guard(channel.lock);
      channel.ending.store(true);
      channel.changed.notify_all();
    }
    pthread_join(channel.thread, nullptr);
    channel.threadStarted = false;
  }
  std::free(channel.record);
  channel.record = nullptr;
  channel.recordCapacity = channel.recordUsed = 0;
  for (GatherBuffer& buffer : channel.buffers) {
    std::free(buffer.bytes);
    buffer.bytes = nullptr;
    buffer.capacity = 0;
  }
}
