#include "runtime/records/writer_thread.h"

#include "runtime/records/buffer_writes.h"
#include "runtime/records/gather_ring.h"

namespace {

void sleepBriefly() {
  systemCalls().sleepMilliseconds(1);
}

}  // namespace

void writeSubmittedBuffers(void* argument) {
  OutputChannel& channel = *static_cast<OutputChannel*>(argument);
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
        return;
      }
      sequence = channel.written.load();
      setWriter(channel, WriterState::Writing);
    }
    const Outcome outcome = writeBuffer(channel, sequence, 0, true);
    std::lock_guard<std::mutex> guard(channel.lock);
    if (outcome == Outcome::Done) {
      channel.written.store(sequence + 1);
      setWriter(channel, WriterState::Idle);
    } else {
      setWriter(channel, outcome == Outcome::Failed ? WriterState::Failed : WriterState::Parked);
    }
    channel.changed.notify_all();
    if (outcome != Outcome::Done) return;
  }
}

void writeInline(OutputChannel& channel, std::unique_lock<std::mutex>& guard) {
  while (!channel.ending.load() && channel.written.load() < channel.current.load()) {
    const uint64_t sequence = channel.written.load();
    setWriter(channel, WriterState::Writing);
    guard.unlock();
    const Outcome outcome = writeBuffer(channel, sequence, 0, true);
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

bool stopWriter(OutputChannel& channel, int64_t deadlineNs, bool inSignalHandler) {
  if (inSignalHandler) {
    channel.ending.store(true);
  } else {
    std::lock_guard<std::mutex> guard(channel.lock);
    channel.ending.store(true);
    channel.changed.notify_all();
  }
  while (writerOf(channel) == WriterState::Writing) {
    if (systemCalls().monotonicNanoseconds() >= deadlineNs) return false;
    sleepBriefly();
  }
  return true;
}
