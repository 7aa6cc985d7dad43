#include "runtime/records/output_channel.h"

#include <algorithm>

#include "runtime/records/gather_ring.h"

ChannelKind channelKindFor(FileHandle handle, bool device) {
  FileFacts facts;
  if (device || !systemCalls().describeFile(handle, &facts)) return ChannelKind::Direct;
  if (facts.kind == FileKind::Disk) return ChannelKind::DiskFile;
  return facts.kind == FileKind::Pipe ? ChannelKind::Stream : ChannelKind::Direct;
}

void startChannel(OutputChannel& channel, ChannelKind kind, const std::atomic<FileHandle>* handle,
                  std::string_view terminator) {
  channel.policy = &policyOf(kind);
  channel.handle = handle;
  setChannelTerminator(channel, terminator);
  FileFacts facts;
  const bool disk = systemCalls().describeFile(handle->load(), &facts) &&
                    facts.kind == FileKind::Disk && !facts.appending;
  channel.keepsWholeRecords = disk;
  // A channel written at explicit offsets starts at the file's start; any other where its
  // handle stands, which a cut must respect.
  channel.origin = disk && !channel.policy->atOffsets ? facts.position : 0;
  channel.truncateOnFirstWrite.store(channel.policy->atOffsets);
}

void setChannelTerminator(OutputChannel& channel, std::string_view terminator) {
  channel.terminatorLength = static_cast<uint8_t>(std::min(terminator.size(), kMaxTerminatorBytes));
  std::copy_n(terminator.data(), channel.terminatorLength, channel.terminator);
}

void releaseChannel(OutputChannel& channel) {
  {
    std::lock_guard<std::mutex> guard(channel.lock);
    channel.ending.store(true);
    channel.changed.notify_all();
    channel.writerRunning = false;
  }
  endHelperThread(channel.writer);
  for (GatherBuffer& buffer : channel.buffers) {
    systemCalls().release(buffer.bytes);
    buffer.bytes = nullptr;
    buffer.capacity = 0;
    buffer.extent.store(0);
    buffer.runCount.store(0);
    buffer.stampedStride = buffer.stampedEnd = 0;
  }
  channel.policy = &policyOf(ChannelKind::Direct);
  channel.handle = nullptr;
  channel.terminatorLength = 0;
  channel.keepsWholeRecords = false;
  channel.origin = 0;
  channel.writtenInPlace = kWrittenInPlace;
  channel.used = channel.reservedLength = 0;
  channel.current.store(0);
  channel.written.store(0);
  channel.confirmed.store(0);
  channel.truncateOnFirstWrite.store(false);
  channel.fileChanged.store(false);
  channel.ending.store(false);
  channel.state.store(static_cast<int>(WriterState::Idle));
  channel.draining = false;
}

void expectOutput(OutputChannel& channel, uint64_t bytes) {
  if (!channel.policy->eachCommit && bytes > channel.writtenInPlace) {
    channel.writtenInPlace = 0;
  }
}
