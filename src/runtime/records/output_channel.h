// The output channel of a write connection: how complete records reach the system.
//
// Records are written into a ring of buffers. The producer asks for room for a batch of
// records of one length and commits how many it filled. A direct channel (a console,
// terminal or device) is a ring of one buffer, written by the producer at each commit,
// so each record reaches the system the moment it is complete. A gathering channel (a
// disk file or a pipe) has a ring of several large buffers; a writer thread hands each
// full one to the system while the producer fills the next. Its first few megabytes the
// producer writes itself, a full buffer at a time from the first buffer of the ring, so
// that a short output costs no thread and no more memory than one buffer.
//
// Whoever ends the run hands over what has not reached the file, on any thread and even
// inside a signal handler: every buffer's file offset and complete length sit in one
// atomic word, the bytes that reached the file are counted in `confirmed`, and the role
// of writing is taken by compare-and-swap on `state`, so that no byte is written twice
// to a pipe and no lock is needed.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>

#include "runtime/platform/system_calls.h"
#include "runtime/records/channel_policy.h"
#include "runtime/threads/helper_thread.h"

/// Bytes of output a gathering channel writes from its producer's thread before a writer
/// thread takes over: a short output gains less from a second thread than starting it
/// and filling the other buffers of the ring costs.
constexpr uint64_t kWrittenInPlace = 8 * kGatherBytes;

/// Most runs of equal-length records one buffer holds before it is handed over.
constexpr int kMaxRecordRuns = 64;

/// Longest record terminator a channel adds.
constexpr size_t kMaxTerminatorBytes = 2;

/// What became of a step of the channel.
enum class ChannelStatus {
  Ok,
  Refused,   // the system refused a write: nothing more is written
  NoMemory,  // memory for a buffer was refused, or a record is longer than any buffer
  Ending,    // the end of the run has taken the channel over
};

/// Consecutive complete records of one length in a buffer, for finding record ends.
struct RecordRun {
  uint32_t start = 0;            // offset in the buffer of the run's first record
  std::atomic<uint32_t> end{0};  // offset just behind its last record
  uint32_t length = 0;           // bytes per record, terminator included
};

/// One buffer of the ring. `extent` packs the channel offset of byte 0 (high bits) and
/// the number of complete bytes (low kLengthBits bits).
struct GatherBuffer {
  char* bytes = nullptr;
  size_t capacity = 0;
  std::atomic<uint64_t> extent{0};
  RecordRun runs[kMaxRecordRuns];
  std::atomic<int> runCount{0};
  // The producer's: record terminators stand in place for records of `stampedStride`
  // bytes laid end to end from byte 0 up to `stampedEnd`, left there by earlier batches.
  size_t stampedStride = 0;
  size_t stampedEnd = 0;
};

/// Bits of `GatherBuffer::extent` that hold the complete length.
constexpr int kLengthBits = 24;

/// The output state of one write connection.
struct OutputChannel {
  const ChannelPolicy* policy = &policyOf(ChannelKind::Direct);
  const std::atomic<FileHandle>* handle = nullptr;  // the connection's: records go there
  char terminator[kMaxTerminatorBytes] = {};        // added behind every record's text
  uint8_t terminatorLength = 0;
  bool keepsWholeRecords = false;  // a disk file: a failure cuts a partial record off
  uint64_t origin = 0;             // file offset of the channel's first byte, for writes where the
                                   // handle stands
  uint64_t writtenInPlace = kWrittenInPlace;  // a gathering channel's output written by its
                                              // producer, in place, before a writer thread
  GatherBuffer buffers[kGatherBuffers];

  // The producer's: complete bytes in the current buffer (room reserved lies behind
  // them), and the length of the records last reserved.
  size_t used = 0;
  size_t reservedLength = 0;

  std::atomic<uint64_t> current{0};    // sequence number of the buffer being filled
  std::atomic<uint64_t> written{0};    // buffers below this sequence number are written whole
  std::atomic<uint64_t> confirmed{0};  // bytes from the channel's start that reached the file
  std::atomic<bool> truncateOnFirstWrite{false};  // an existing file's old content is still to go
  std::atomic<bool> fileChanged{false};           // the file has been cut or written
  std::atomic<bool> ending{false};                // the end of the run asks the writer to stop
  std::atomic<int> state{0};  // the role of writing, a WriterState (see gather_ring.h)

  bool draining = false;       // under `lock`: the writer stops once everything is written
  bool writerRunning = false;  // under `lock`: the writer's job runs on `writer`
  HelperThread writer;         // the producer's: the writer thread, kept for the channel
  std::mutex lock;
  std::condition_variable changed;
};

/// The kind of channel for the file at `handle`: a disk file or a pipe gathers records;
/// a terminal or device, or any file named as a device, takes each record at once.
ChannelKind channelKindFor(FileHandle handle, bool device);

/// Makes `channel` write to the handle held at `handle` as `kind` says, each record ended
/// by `terminator` (at most kMaxTerminatorBytes). A disk file's old content goes when the
/// first records are handed over. A disk file, or a direct channel on a regular file that
/// is not opened for appending, keeps only whole records when a write fails.
void startChannel(OutputChannel& channel, ChannelKind kind, const std::atomic<FileHandle>* handle,
                  std::string_view terminator);

/// Ends every record `channel` takes from now on with `terminator` (at most
/// kMaxTerminatorBytes) in place of the one it was started with; before its first record.
void setChannelTerminator(OutputChannel& channel, std::string_view terminator);

/// Stops the writer thread, if any, and frees the channel's buffers; the channel is as
/// new afterwards.
void releaseChannel(OutputChannel& channel);

/// Tells the channel, on its producer's thread, that at least `bytes` more are to be
/// written: a gathering channel whose output will pass what its producer writes in place
/// hands every full buffer to the writer thread from then on, so that the producer spends
/// no time in writes that the thread would make.
void expectOutput(OutputChannel& channel, uint64_t bytes);
