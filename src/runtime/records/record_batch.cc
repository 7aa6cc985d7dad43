#include "runtime/records/record_batch.h"

#include <algorithm>

#include "runtime/records/buffer_writes.h"
#include "runtime/records/gather_ring.h"
#include "runtime/records/writer_thread.h"

namespace {

// The buffer the producer fills, its memory had on first use; nullptr when refused.
GatherBuffer* currentBuffer(OutputChannel& channel) {
  GatherBuffer& buffer = bufferOf(channel, channel.current.load(std::memory_order_relaxed));
  if (buffer.bytes == nullptr) {
    const size_t capacity = channel.policy->bufferBytes;
    buffer.bytes = static_cast<char*>(systemCalls().allocate(capacity));
    if (buffer.bytes == nullptr) return nullptr;
    buffer.capacity = capacity;
  }
  return &buffer;
}

// Puts the channel's terminator behind each of the `count` records of `stride` bytes that
// start at byte `from` of `buffer`, where an earlier batch of the same layout has not left
// it there already: a producer writes texts only, so terminators stay where they were put
// until records of another layout take their place, and a long run of records of one
// length costs nothing here once each buffer of the ring has been through it.
void stampTerminators(const OutputChannel& channel, GatherBuffer& buffer, size_t from, size_t count,
                      size_t stride) {
  const size_t end = from + count * stride;
  const bool sameLayout =
      buffer.stampedStride == stride && from % stride == 0 && buffer.stampedEnd >= from;
  const char first = channel.terminator[0], second = channel.terminator[1];
  char* const ends = buffer.bytes + stride - channel.terminatorLength;
  if (channel.terminatorLength == 2) {
    for (size_t at = sameLayout ? buffer.stampedEnd : from; at < end; at += stride) {
      ends[at] = first;
      ends[at + 1] = second;
    }
  } else if (channel.terminatorLength == 1) {
    for (size_t at = sameLayout ? buffer.stampedEnd : from; at < end; at += stride)
      ends[at] = first;
  }
  if (sameLayout) {
    buffer.stampedEnd = std::max(buffer.stampedEnd, end);
  } else if (from == 0) {
    buffer.stampedStride = stride;
    buffer.stampedEnd = end;
  } else if (buffer.stampedStride != 0) {
    // What lies from `from` on takes records of another layout.
    buffer.stampedEnd = std::min(buffer.stampedEnd, from - from % buffer.stampedStride);
  }
}

// Records the `count` records of `length` bytes just behind `channel.used` as complete.
void publishRecords(OutputChannel& channel, GatherBuffer& buffer, size_t count, size_t length) {
  const uint32_t start = static_cast<uint32_t>(channel.used);
  const uint32_t end = static_cast<uint32_t>(channel.used + count * length);
  int runs = buffer.runCount.load(std::memory_order_relaxed);
  if (runs > 0 && buffer.runs[runs - 1].length == length &&
      buffer.runs[runs - 1].end.load(std::memory_order_relaxed) == start) {
    buffer.runs[runs - 1].end.store(end, std::memory_order_relaxed);
  } else {
    RecordRun& run = buffer.runs[runs];
    run.start = start;
    run.length = static_cast<uint32_t>(length);
    run.end.store(end, std::memory_order_relaxed);
    buffer.runCount.store(runs + 1, std::memory_order_release);
  }
  channel.used = end;
  const uint64_t extent = buffer.extent.load(std::memory_order_relaxed);
  buffer.extent.store(packExtent(startOf(extent), end), std::memory_order_release);
}

// Starts `buffer` afresh at channel offset `start`. One store changes its extent, so that
// no reader sees a mixture of the old and the new.
void restartBuffer(GatherBuffer& buffer, uint64_t start) {
  buffer.runCount.store(0, std::memory_order_relaxed);
  buffer.extent.store(packExtent(start, 0), std::memory_order_release);
}

// The producer writes the current buffer now, in the role of writer, and starts it afresh
// behind what was written: a direct channel at each commit, a gathering one while its
// output is short. Once the end of the run has asked the writing to stop, the buffer is
// left as it is: the hand-over may be writing it, after waiting in vain for this write to
// end, and takes from it only what `confirmed` does not cover.
ChannelStatus writeInPlace(OutputChannel& channel, GatherBuffer& buffer) {
  if (!moveState(channel, WriterState::Idle, WriterState::Writing)) {
    return stateOf(channel) == WriterState::Refused ? ChannelStatus::Refused
                                                    : ChannelStatus::Ending;
  }
  ChannelStatus status =
      writeBuffer(channel, channel.current.load(), 0, !channel.policy->eachCommit);
  if (status == ChannelStatus::Ok && channel.ending.load()) status = ChannelStatus::Ending;
  if (status == ChannelStatus::Ok) {
    const uint64_t extent = buffer.extent.load(std::memory_order_relaxed);
    restartBuffer(buffer, startOf(extent) + lengthOf(extent));
    channel.used = 0;
  }
  channel.state.store(static_cast<int>(status == ChannelStatus::Refused ? WriterState::Refused
                                                                        : WriterState::Idle));
  return status;
}

// A gathering channel's current buffer can take no further record: written in place while
// the output is short, so that no thread is started and no other buffer of the ring
// touched, else handed to the writer thread. The first buffer handed over leaves the
// first buffer of the ring as its place, so the ring's places stay those of the sequence
// numbers.
ChannelStatus passOnFullBuffer(OutputChannel& channel, GatherBuffer& buffer) {
  const uint64_t extent = buffer.extent.load(std::memory_order_relaxed);
  if (channel.current.load(std::memory_order_relaxed) == 0 &&
      startOf(extent) + lengthOf(extent) <= channel.writtenInPlace) {
    return writeInPlace(channel, buffer);
  }
  return submitBuffer(channel, true);
}

}  // namespace

ChannelStatus reserveRecords(OutputChannel& channel, size_t width, size_t wanted,
                             RecordRoom& room) {
  room = RecordRoom{};
  const size_t length = recordLength(channel, width);
  if (length == 0 || length > kMaxRecordBytes) return ChannelStatus::NoMemory;
  GatherBuffer* buffer = currentBuffer(channel);
  if (buffer == nullptr) return ChannelStatus::NoMemory;
  if (channel.used + length > buffer->capacity) {
    const ChannelStatus passed = passOnFullBuffer(channel, *buffer);
    if (passed != ChannelStatus::Ok) return passed;
    buffer = currentBuffer(channel);
    if (buffer == nullptr) return ChannelStatus::NoMemory;
  }
  const size_t fit = (buffer->capacity - channel.used) / length;
  room.count = channel.policy->eachCommit ? 1 : (fit < wanted ? fit : wanted);
  room.bytes = buffer->bytes + channel.used;
  room.stride = length;
  stampTerminators(channel, *buffer, channel.used, room.count, length);
  channel.reservedLength = length;
  return ChannelStatus::Ok;
}

ChannelStatus commitRecords(OutputChannel& channel, size_t count) {
  if (count == 0) return ChannelStatus::Ok;
  const size_t length = channel.reservedLength;
  GatherBuffer& buffer = bufferOf(channel, channel.current.load(std::memory_order_relaxed));
  publishRecords(channel, buffer, count, length);
  if (channel.policy->eachCommit) return writeInPlace(channel, buffer);
  if (channel.used + length > buffer.capacity ||
      buffer.runCount.load(std::memory_order_relaxed) == kMaxRecordRuns) {
    return passOnFullBuffer(channel, buffer);
  }
  return ChannelStatus::Ok;
}

ChannelStatus submitBuffer(OutputChannel& channel, bool startWriter) {
  if (channel.used == 0) return ChannelStatus::Ok;
  std::unique_lock<std::mutex> guard(channel.lock);
  const uint64_t sequence = channel.current.load();
  const uint64_t ring = static_cast<uint64_t>(channel.policy->buffers);
  channel.changed.wait(guard, [&] {
    return channel.ending.load() || stateOf(channel) == WriterState::Refused ||
           sequence + 1 - channel.written.load() < ring;
  });
  if (channel.ending.load()) return ChannelStatus::Ending;
  if (stateOf(channel) == WriterState::Refused) return ChannelStatus::Refused;
  const uint64_t extent = bufferOf(channel, sequence).extent.load(std::memory_order_relaxed);
  restartBuffer(bufferOf(channel, sequence + 1), startOf(extent) + lengthOf(extent));
  channel.used = 0;
  channel.current.store(sequence + 1);
  if (!channel.writerRunning && startWriter) {
    channel.writerRunning = handOverJob(channel.writer, writeSubmittedBuffers, &channel);
  }
  if (!channel.writerRunning) writeInline(channel, guard);
  channel.changed.notify_all();
  if (stateOf(channel) == WriterState::Refused) return ChannelStatus::Refused;
  return channel.ending.load() ? ChannelStatus::Ending : ChannelStatus::Ok;
}
