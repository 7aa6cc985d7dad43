#include "runtime/records/writer_thread.h"

#include "runtime/records/buffer_writes.h"
#include "runtime/records/gather_ring.h"

namespace {

// Writes buffer `sequence` in the role of writer, taken from Idle, with the lock let go;
// false when the role could not be had or the write did not finish. The lock is held on
// entry and on return.
bool writeOneBuffer(OutputChannel& channel, uint64_t sequence,
                    std::unique_lock<std::mutex>& guard) {
  if (!moveState(channel, WriterState::Idle, WriterState::Writing)) return false;
  guard.unlock();
  const ChannelStatus status = writeBuffer(channel, sequence, 0, true);
  guard.lock();
  if (status == ChannelStatus::Ok) channel.written.store(sequence + 1);
  // The end of the run waits for Writing to end before it takes the role.
  channel.state.store(static_cast<int>(status == ChannelStatus::Refused ? WriterState::Refused
                                                                        : WriterState::Idle));
  channel.changed.notify_all();
  return status == ChannelStatus::Ok;
}

}  // namespace

void writeSubmittedBuffers(void* argument) {
  OutputChannel& channel = *static_cast<OutputChannel*>(argument);
  std::unique_lock<std::mutex> guard(channel.lock);
  for (;;) {
    channel.changed.wait(guard, [&] {
      return channel.ending.load() || channel.written.load() < channel.current.load() ||
             channel.draining;
    });
    if (channel.ending.load()) break;
    if (channel.written.load() >= channel.current.load()) {
      moveState(channel, WriterState::Idle, WriterState::Drained);
      break;
    }
    if (!writeOneBuffer(channel, channel.written.load(), guard)) break;
  }
  channel.changed.notify_all();
}

void writeInline(OutputChannel& channel, std::unique_lock<std::mutex>& guard) {
  while (!channel.ending.load() && channel.written.load() < channel.current.load()) {
    if (!writeOneBuffer(channel, channel.written.load(), guard)) return;
  }
}
