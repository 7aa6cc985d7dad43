// The output side of a write connection: how complete records reach the system.
//
// Console and device connections are direct: each record is written the moment it is
// complete, and nothing is ever held. Disk files and pipes gather records in a ring of
// large buffers; a writer thread hands full buffers to the system while the next one is
// filled. Whatever thread ends the run takes the writer's place and hands over exactly
// the complete records that have not reached the file: the bytes that reached it are
// counted in `confirmed`, and every buffer's file offset and complete length sit in one
// atomic word, so that even a fault handler reads a consistent picture without a lock.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "runtime/platform/system_calls.h"

/// Buffers in the ring of a gathering connection.
constexpr int kGatherBuffers = 4;

/// Bytes of one gathering buffer.
constexpr size_t kGatherBytes = 1024 * 1024;

/// Most runs of equal-length records one buffer holds before it is handed over.
constexpr int kMaxRecordRuns = 64;

/// How a connection's records reach the system.
enum class ChannelKind : uint8_t {
  Direct,    // each record as one write when complete (consoles, terminals, devices)
  DiskFile,  // gathered, written at explicit offsets (regular files)
  Stream,    // gathered, written in record-aligned pieces of at most PIPE_BUF (pipes)
};

/// What the thread in the writer's role is doing.
enum class WriterState : int {
  Idle,      // not writing; the next buffer may be taken
  Writing,   // a write to the system is under way
  Parked,    // stopped for the end of the run; writes nothing more
  Failed,    // the system refused a write (see `failure`)
  Finished,  // everything was written and the connection is closing
};

/// Consecutive complete records of one length in a buffer, for cutting at a record end.
struct RecordRun {
  uint32_t start = 0;            // offset in the buffer of the run's first record
  std::atomic<uint32_t> end{0};  // offset just behind its last record
  uint32_t length = 0;           // bytes per record, terminator included
};

/// One buffer of the ring. `extent` packs the file offset of byte 0 (high bits) and the
/// number of complete bytes (low kLengthBits bits).
struct GatherBuffer {
  char* bytes = nullptr;
  size_t capacity = 0;
  std::atomic<uint64_t> extent{0};
  RecordRun runs[kMaxRecordRuns];
  std::atomic<int> runCount{0};
};

/// Bits of `GatherBuffer::extent` that hold the complete length.
constexpr int kLengthBits = 24;

/// The complete bytes of `buffer`, as last published.
inline size_t completeBytes(const GatherBuffer& buffer) {
  return static_cast<size_t>(buffer.extent.load(std::memory_order_acquire) &
                             ((uint64_t{1} << kLengthBits) - 1));
}

/// The output state of one write connection.
struct OutputChannel {
  ChannelKind kind = ChannelKind::Direct;
  std::atomic<FileHandle> fd{kNoFile};  // the handle records are written to

  // Direct: the record being built, private to the producing thread.
  char* record = nullptr;
  size_t recordCapacity = 0;
  size_t recordUsed = 0;

  // Gathering: the ring, filled by the producing thread at `current`.
  GatherBuffer buffers[kGatherBuffers];
  size_t used = 0;  // producer: bytes in the current buffer, incomplete record included
  std::atomic<uint64_t> current{0};    // sequence number of the buffer being filled
  std::atomic<uint64_t> written{0};    // buffers below this sequence number are written whole
  std::atomic<uint64_t> confirmed{0};  // bytes that have reached the file, from its start
  std::atomic<bool> truncateOnFirstWrite{false};  // an existing file's old content is still to go
  std::atomic<bool> fileChanged{false};           // the file has been cut or written
  std::atomic<bool> ending{false};                // the end of the run has taken the writer's place
  std::atomic<int> writer{static_cast<int>(WriterState::Idle)};
  std::atomic<int> failure{0};  // errno of a refused write; 0 while none
  bool closing = false;         // under `lock`: the writer stops once all is written
  bool threadStarted = false;   // under `lock`
  ThreadHandle thread = 0;
  std::mutex lock;
  std::condition_variable changed;
};
