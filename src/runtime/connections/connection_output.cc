#include "runtime/connections/connection_output.h"

#include <cstdlib>
#include <cstring>

#include "runtime/connections/connection.h"
#include "runtime/connections/io_failure.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/run_end.h"
#include "runtime/platform/file_transfers.h"
#include "runtime/records/output_channel_ring.h"
#include "runtime/records/record_terminator.h"

namespace {

constexpr size_t kInitialRecordCapacity = 256;

// Ends the run as a step that handed records on requires: a refused write, refused
// memory, or the end of the run taken over by another thread.
void settle(Connection& connection, ChannelStatus status) {
  switch (status) {
    case ChannelStatus::Ok:
      return;
    case ChannelStatus::Refused:
      ioFailure(Message::WriteError, connection);
    case ChannelStatus::NoMemory:
      reportSevere(Message::OutOfMemory);
    case ChannelStatus::Ending:
      waitForRunEnd();
  }
}

// Room for `count` more bytes of a direct connection's record and its terminator.
void reserveInRecord(OutputChannel& channel, size_t count) {
  const size_t needed = channel.recordUsed + count + 2;
  if (needed <= channel.recordCapacity) return;
  size_t capacity = channel.recordCapacity == 0 ? kInitialRecordCapacity : channel.recordCapacity;
  while (capacity < needed) capacity *= 2;
  char* grown = static_cast<char*>(std::realloc(channel.record, capacity));
  if (grown == nullptr) reportSevere(Message::OutOfMemory);
  channel.record = grown;
  channel.recordCapacity = capacity;
}

// Hands a direct connection's complete record to the system as one write.
void writeRecordNow(Connection& connection) {
  OutputChannel& channel = connection.output;
  SystemError error = 0;
  if (writeAll(connection.fd.load(), channel.record, channel.recordUsed, &error) <
      channel.recordUsed) {
    ioFailure(Message::WriteError, connection);
  }
  channel.recordUsed = 0;
}

// The gathering buffer records are built in.
GatherBuffer& gatheringBuffer(Connection& connection) {
  GatherBuffer* buffer = currentBuffer(connection.output);
  if (buffer == nullptr) reportSevere(Message::OutOfMemory);
  return *buffer;
}

}  // namespace

std::string_view recordTerminator(const Connection& connection) {
  return recordTerminatorBytes(connection.terminator);
}

void startOutput(Connection& connection, ChannelKind kind, bool truncateOnFirstWrite) {
  connection.output.kind = kind;
  connection.output.fd.store(connection.fd.load());
  connection.output.truncateOnFirstWrite.store(truncateOnFirstWrite &&
                                               kind == ChannelKind::DiskFile);
}

void startRecord(Connection& connection) {
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) {
    channel.recordUsed = 0;
    return;
  }
  channel.used = completeBytes(gatheringBuffer(connection));
}

char* recordSpace(Connection& connection, size_t count) {
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) {
    reserveInRecord(channel, count);
    return channel.record + channel.recordUsed;
  }
  settle(connection, reserveInBuffer(channel, count));
  return gatheringBuffer(connection).bytes + channel.used;
}

void appendToRecord(Connection& connection, const char* bytes, size_t count) {
  char* room = recordSpace(connection, count);
  if (count > 0) std::memcpy(room, bytes, count);
  OutputChannel& channel = connection.output;
  (channel.kind == ChannelKind::Direct ? channel.recordUsed : channel.used) += count;
}

void completeRecord(Connection& connection) {
  const std::string_view terminator = recordTerminator(connection);
  appendToRecord(connection, terminator.data(), terminator.size());
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) {
    writeRecordNow(connection);
    return;
  }
  const size_t length = channel.used - completeBytes(gatheringBuffer(connection));
  settle(connection, publishRecords(channel, 1, length));
}

size_t recordBatch(Connection& connection, size_t recordLength, size_t wanted) {
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) {
    reserveInRecord(channel, recordLength);
    return wanted > 0 ? 1 : 0;
  }
  settle(connection, reserveInBuffer(channel, recordLength));
  const size_t fit = (gatheringBuffer(connection).capacity - channel.used) / recordLength;
  return fit < wanted ? fit : wanted;
}

void completeRecords(Connection& connection, size_t count, size_t recordLength) {
  if (count == 0) return;
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) {
    // One record at a time, as recordBatch gives them.
    channel.recordUsed += recordLength;
    writeRecordNow(connection);
    return;
  }
  channel.used += count * recordLength;
  settle(connection, publishRecords(channel, count, recordLength));
}

void drainConnection(Connection& connection) {
  settle(connection, drainOutput(connection.output));
}
