#include "runtime/records/output_channel.h"

void startChannel(OutputChannel& channel, ChannelKind kind, const std::atomic<FileHandle>* handle,
                  bool truncateOnFirstWrite) {
  channel.kind = kind;
  channel.handle = handle;
  channel.bufferCount = kind == ChannelKind::Direct ? 1 : kGatherBuffers;
  FileFacts facts;
  const bool disk = systemCalls().describeFile(handle->load(), &facts) &&
                    facts.kind == FileKind::Disk && !facts.appending;
  channel.keepsWholeRecords = disk && kind != ChannelKind::Stream;
  // A disk file is written at explicit offsets from its start; a direct channel where
  // its handle stands, which a cut must respect.
  channel.origin = disk && kind == ChannelKind::Direct ? facts.position : 0;
  channel.truncateOnFirstWrite.store(truncateOnFirstWrite && kind == ChannelKind::DiskFile);
}

void releaseChannel(OutputChannel& channel) {
  ThreadHandle thread;
  {
    std::lock_guard<std::mutex> guard(channel.lock);
    channel.ending.store(true);
    channel.changed.notify_all();
    thread = channel.thread;
    channel.thread = 0;
  }
  if (thread != 0) systemCalls().joinThread(thread);
  for (GatherBuffer& buffer : channel.buffers) {
    systemCalls().release(buffer.bytes);
    buffer.bytes = nullptr;
    buffer.capacity = 0;
    buffer.extent.store(0);
    buffer.runCount.store(0);
  }
  channel.kind = ChannelKind::Direct;
  channel.handle = nullptr;
  channel.bufferCount = 1;
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
  channel.failure.store(0);
  channel.draining = false;
}

void expectOutput(OutputChannel& channel, uint64_t bytes) {
  if (channel.kind != ChannelKind::Direct && bytes > channel.writtenInPlace) {
    channel.writtenInPlace = 0;
  }
}
