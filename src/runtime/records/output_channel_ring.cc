#include "runtime/records/output_channel_ring.h"

#include <cstdlib>
#include <cstring>

#include "runtime/records/buffer_writes.h"
#include "runtime/records/gather_ring.h"
#include "runtime/records/writer_thread.h"

namespace {

bool allocateBuffer(GatherBuffer& buffer) {
  if (buffer.bytes != nullptr) return true;
  buffer.bytes = static_cast<char*>(std::malloc(kGatherBytes));
  buffer.capacity = buffer.bytes != nullptr ? kGatherBytes : 0;
  return buffer.bytes != nullptr;
}

}  // namespace

GatherBuffer* currentBuffer(OutputChannel& channel) {
  GatherBuffer& buffer = bufferOf(channel, channel.current.load(std::memory_order_relaxed));
  return buffer.bytes != nullptr || allocateBuffer(buffer) ? &buffer : nullptr;
}

ChannelStatus publishRecords(OutputChannel& channel, size_t count, size_t length) {
  GatherBuffer& buffer = bufferOf(channel, channel.current.load(std::memory_order_relaxed));
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
    return submitBuffer(channel, 0, true);
  }
  return ChannelStatus::Ok;
}

ChannelStatus submitBuffer(OutputChannel& channel, size_t incomplete, bool startWriter) {
  std::unique_lock<std::mutex> guard(channel.lock);
  const uint64_t sequence = channel.current.load();
  channel.changed.wait(guard, [&] {
    return channel.ending.load() || channel.failure.load() != 0 ||
           sequence + 1 - channel.written.load() < kGatherBuffers;
  });
  // The end of the run may have taken this connection over.
  if (channel.ending.load()) return ChannelStatus::Ending;
  if (channel.failure.load() != 0) return ChannelStatus::Refused;
  GatherBuffer& full = bufferOf(channel, sequence);
  GatherBuffer& next = bufferOf(channel, sequence + 1);
  // The next buffer's memory is needed now only for an incomplete record to carry over;
  // otherwise the producer asks for it when it writes there.
  if (incomplete > 0 && !allocateBuffer(next)) return ChannelStatus::NoMemory;
  const uint64_t extent = full.extent.load(std::memory_order_relaxed);
  // The next buffer's old extent lies wholly before `confirmed`; the new one holds nothing
  // yet. One store makes the change, so that no reader sees a mixture of the two.
  next.runCount.store(0, std::memory_order_relaxed);
  next.extent.store(packExtent(startOf(extent) + lengthOf(extent), 0), std::memory_order_release);
  if (incomplete > 0) std::memcpy(next.bytes, full.bytes + lengthOf(extent), incomplete);
  channel.used = incomplete;
  channel.current.store(sequence + 1);
  if (!channel.threadStarted && startWriter) {
    channel.thread = systemCalls().startThread(writeSubmittedBuffers, &channel);
    channel.threadStarted = channel.thread != 0;
  }
  if (!channel.threadStarted) writeInline(channel, guard);
  channel.changed.notify_all();
  if (writerOf(channel) == WriterState::Failed) return ChannelStatus::Refused;
  return ChannelStatus::Ok;
}

ChannelStatus reserveInBuffer(OutputChannel& channel, size_t bytes) {
  GatherBuffer* buffer = currentBuffer(channel);
  if (buffer == nullptr) return ChannelStatus::NoMemory;
  if (channel.used + bytes <= buffer->capacity) return ChannelStatus::Ok;
  const size_t complete = completeBytes(*buffer);
  if (complete > 0) {
    const ChannelStatus submitted = submitBuffer(channel, channel.used - complete, true);
    if (submitted != ChannelStatus::Ok) return submitted;
    buffer = currentBuffer(channel);
    if (buffer == nullptr) return ChannelStatus::NoMemory;
    if (channel.used + bytes <= buffer->capacity) return ChannelStatus::Ok;
  }
  // A record longer than a buffer: the buffer holds no complete record, so no other
  // thread reads it, and it may move.
  size_t capacity = buffer->capacity;
  while (capacity < channel.used + bytes) capacity *= 2;
  if (capacity > kLengthMask) return ChannelStatus::NoMemory;
  char* grown = static_cast<char*>(std::realloc(buffer->bytes, capacity));
  if (grown == nullptr) return ChannelStatus::NoMemory;
  buffer->bytes = grown;
  buffer->capacity = capacity;
  return ChannelStatus::Ok;
}

ChannelStatus drainOutput(OutputChannel& channel) {
  if (channel.kind == ChannelKind::Direct) return ChannelStatus::Ok;
  GatherBuffer* buffer = currentBuffer(channel);
  if (buffer == nullptr) return ChannelStatus::NoMemory;
  // An incomplete record is dropped; complete ones are submitted. Output that never
  // filled a buffer is written by this thread, without starting a writer.
  if (completeBytes(*buffer) > 0) {
    const ChannelStatus submitted = submitBuffer(channel, 0, false);
    if (submitted != ChannelStatus::Ok) return submitted;
  }
  std::unique_lock<std::mutex> guard(channel.lock);
  channel.closing = true;
  channel.changed.notify_all();
  if (!channel.threadStarted) {
    writeInline(channel, guard);
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
    systemCalls().joinThread(channel.thread);
    channel.threadStarted = false;
  }
  if (state == WriterState::Parked) return ChannelStatus::Ending;
  return state == WriterState::Finished ? ChannelStatus::Ok : ChannelStatus::Refused;
}

bool handOverForEnd(OutputChannel& channel, int64_t deadlineNs, bool inSignalHandler) {
  if (channel.kind == ChannelKind::Direct) return true;
  const bool writerStopped = stopWriter(channel, deadlineNs, inSignalHandler);
  if (channel.failure.load() != 0) {
    cutToWholeRecords(channel);
    return false;
  }
  // A pipe cannot take bytes again: only when no write is under way, and the producer
  // stands still, is what reached it known exactly. Otherwise the piece under way reaches
  // it whole or not at all, and the rest is dropped. (A fault handler on another thread
  // than the producer's may see the ring move under it.)
  if (channel.kind == ChannelKind::Stream &&
      (!writerStopped || (inSignalHandler && !systemCalls().onMainThread()))) {
    return true;
  }
  const uint64_t current = channel.current.load();
  const uint64_t first = current >= kGatherBuffers - 1 ? current - (kGatherBuffers - 1) : 0;
  for (uint64_t sequence = first; sequence <= current; ++sequence) {
    const int64_t deadline = channel.kind == ChannelKind::Stream ? deadlineNs : 0;
    const Outcome outcome = writeBuffer(channel, sequence, deadline, false);
    if (outcome == Outcome::Failed) {
      cutToWholeRecords(channel);
      return false;
    }
    if (outcome == Outcome::Stopped) break;  // the pipe takes nothing more: the rest is dropped
  }
  return true;
}

void abandonOutput(OutputChannel& channel) {
  if (channel.kind == ChannelKind::Direct) return;
  stopWriter(channel, systemCalls().monotonicNanoseconds() + 1000000000, false);
  cutToWholeRecords(channel);
}

void releaseOutput(OutputChannel& channel) {
  if (channel.threadStarted) {
    {
      std::lock_guard<std::mutex> guard(channel.lock);
      channel.ending.store(true);
      channel.changed.notify_all();
    }
    systemCalls().joinThread(channel.thread);
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
