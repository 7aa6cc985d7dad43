#include "runtime/records/hand_over.h"

#include "runtime/records/buffer_writes.h"
#include "runtime/records/gather_ring.h"

namespace {

// Asks the writer to stop and waits, until `deadlineNs`, for a write under way to end.
// Returns how the role of writing then stands.
WriterState stopWriter(OutputChannel& channel, int64_t deadlineNs) {
  channel.ending.store(true);
  SystemCalls& system = systemCalls();
  for (;;) {
    const WriterState state = stateOf(channel);
    if (state == WriterState::Idle && moveState(channel, WriterState::Idle, WriterState::Ending)) {
      return WriterState::Ending;
    }
    if (state != WriterState::Idle && state != WriterState::Writing) return state;
    if (state == WriterState::Writing && system.monotonicNanoseconds() >= deadlineNs) {
      return WriterState::Writing;
    }
    if (state == WriterState::Writing) system.sleepMilliseconds(1);
  }
}

}  // namespace

ChannelStatus handOverForEnd(OutputChannel& channel, int64_t deadlineNs) {
  if (channel.handle == nullptr) return ChannelStatus::Ok;  // never started: nothing held
  const WriterState state = stopWriter(channel, deadlineNs);
  if (state == WriterState::Drained) return ChannelStatus::Ok;
  if (state == WriterState::Refused) {
    cutToWholeRecords(channel);
    return ChannelStatus::Refused;
  }
  // A write still under way reaches a disk file at its own offsets, so writing the same
  // bytes there again does no harm. A pipe or device cannot take bytes twice: what is
  // left of it is dropped whole.
  if (state == WriterState::Writing && !channel.policy->atOffsets) return ChannelStatus::Ok;
  const int64_t deadline = channel.policy->atOffsets ? 0 : deadlineNs;
  const uint64_t current = channel.current.load();
  for (uint64_t sequence = channel.written.load(); sequence <= current; ++sequence) {
    const ChannelStatus status = writeBuffer(channel, sequence, deadline, false);
    if (status == ChannelStatus::Refused) {
      cutToWholeRecords(channel);
      return ChannelStatus::Refused;
    }
    if (status == ChannelStatus::Ending) break;  // takes nothing more: the rest is dropped
  }
  return ChannelStatus::Ok;
}

void abandonChannel(OutputChannel& channel) {
  channel.ending.store(true);
  cutToWholeRecords(channel);
}

bool channelWriteUnderWay(const OutputChannel& channel) {
  return stateOf(channel) == WriterState::Writing;
}
