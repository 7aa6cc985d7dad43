#include "runtime/records/drain_channel.h"

#include "runtime/records/gather_ring.h"
#include "runtime/records/record_batch.h"
#include "runtime/records/writer_thread.h"

ChannelStatus drainChannel(OutputChannel& channel) {
  // Output that never filled a buffer is written by this thread, without starting a
  // writer.
  ChannelStatus status = submitBuffer(channel, false);
  std::unique_lock<std::mutex> guard(channel.lock);
  channel.draining = true;
  channel.changed.notify_all();
  if (!channel.writerRunning) {
    writeInline(channel, guard);
    moveState(channel, WriterState::Idle, WriterState::Drained);
  }
  channel.changed.wait(guard, [&] {
    const WriterState state = stateOf(channel);
    return state != WriterState::Idle && state != WriterState::Writing;
  });
  const WriterState state = stateOf(channel);
  const bool running = channel.writerRunning;
  channel.writerRunning = false;
  guard.unlock();
  if (running) waitForJob(channel.writer);
  if (state == WriterState::Refused) return ChannelStatus::Refused;
  if (state == WriterState::Ending) return ChannelStatus::Ending;
  return status == ChannelStatus::Ok ? ChannelStatus::Ok : status;
}
