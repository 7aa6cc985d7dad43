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
// kAtomicPipeBytes, so that the system takes each piece whole or not at all.
size_t streamPieceEnd(const GatherBuffer& buffer, size_t from, size_t to) {
  const size_t end = recordEndAtOrBefore(buffer, std::min(to, from + kAtomicPipeBytes));
  return end > from ? end : to;
}

// Raises `confirmed` to `offset`; it never falls back.
void confirm(OutputChannel& channel, uint64_t offset) {
  uint64_t seen = channel.confirmed.load();
  while (seen < offset && !channel.confirmed.compare_exchange_weak(seen, offset)) {
  }
}

uint64_t fileSize(FileHandle file) {
  FileFacts facts;
  return systemCalls().describeFile(file, &facts) ? facts.size : 0;
}

// An existing file loses its old content just before the first records take its place:
// it is cut behind them, so that it never holds new records followed by old ones.
bool cutOldContent(OutputChannel& channel, uint64_t newEnd) {
  const FileHandle file = handleOf(channel);
  const uint64_t keep = channel.origin + newEnd;
  if (fileSize(file) > keep) {
    SystemError error = 0;
    if (!cutFileRetrying(file, keep, &error)) return false;
    channel.fileChanged.store(true);
  }
  channel.truncateOnFirstWrite.store(false);
  return true;
}

}  // namespace

ChannelStatus writeBuffer(OutputChannel& channel, uint64_t sequence, int64_t deadlineNs,
                          bool yieldsToEnding) {
  const GatherBuffer& buffer = bufferOf(channel, sequence);
  const uint64_t extent = buffer.extent.load(std::memory_order_acquire);
  const uint64_t start = startOf(extent);
  const size_t length = lengthOf(extent);
  const uint64_t confirmed = channel.confirmed.load();
  if (start + length <= confirmed) return ChannelStatus::Ok;
  const FileHandle file = handleOf(channel);
  const ChannelPolicy& policy = *channel.policy;
  size_t at = confirmed > start ? static_cast<size_t>(confirmed - start) : 0;
  while (at < length) {
    if (yieldsToEnding && channel.ending.load()) return ChannelStatus::Ending;
    const size_t end = policy.wholeRecordPieces ? streamPieceEnd(buffer, at, length) : length;
    if (channel.truncateOnFirstWrite.load() && !cutOldContent(channel, start + end)) {
      return ChannelStatus::Refused;
    }
    // A file written at offsets is never waited on: it takes its bytes or refuses them.
    SystemError error = 0;
    const int64_t n = writeSome(file, buffer.bytes + at, end - at,
                                policy.atOffsets ? channel.origin + start + at : kWhereHandleStands,
                                policy.atOffsets ? 0 : deadlineNs, &error);
    if (n == 0) return ChannelStatus::Ending;
    if (n < 0) return ChannelStatus::Refused;
    channel.fileChanged.store(true);
    at += static_cast<size_t>(n);
    confirm(channel, start + at);
  }
  return ChannelStatus::Ok;
}

void cutToWholeRecords(OutputChannel& channel) {
  if (!channel.keepsWholeRecords || !channel.fileChanged.load()) return;
  const uint64_t confirmed = channel.confirmed.load();
  uint64_t whole = confirmed;
  const uint64_t current = channel.current.load();
  const uint64_t count = static_cast<uint64_t>(channel.policy->buffers);
  const uint64_t first = current >= count - 1 ? current - (count - 1) : 0;
  for (uint64_t sequence = first; sequence <= current; ++sequence) {
    const GatherBuffer& buffer = bufferOf(channel, sequence);
    const uint64_t extent = buffer.extent.load(std::memory_order_acquire);
    const uint64_t start = startOf(extent);
    if (confirmed >= start && confirmed < start + lengthOf(extent)) {
      whole = start + recordEndAtOrBefore(buffer, static_cast<size_t>(confirmed - start));
    }
  }
  const FileHandle file = handleOf(channel);
  const uint64_t keep = channel.origin + whole;
  // A file that cannot be cut keeps the partial record; the run ends with 38 anyway.
  SystemError error = 0;
  if (fileSize(file) > keep) cutFileRetrying(file, keep, &error);
}
