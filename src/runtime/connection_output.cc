#include "runtime/connection_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "runtime/connection.h"
#include "runtime/io_failure.h"
#include "runtime/output_channel_ring.h"
#include "runtime/report_diagnostic.h"

namespace {

constexpr size_t kInitialRecordCapacity = 256;

// Room for `count` more bytes of a direct connection's record and its terminator.
void reserveInRecord(OutputChannel& channel, size_t count) {
  const size_t needed = channel.recordUsed + count + 2;
  if (needed <= channel.recordCapacity) return;
  size_t capacity = channel.recordCapacity == 0 ? kInitialRecordCapacity : channel.recordCapacity;
  while (capacity < needed) capacity *= 2;
  char* grown = static_cast<char*>(std::realloc(channel.record, capacity));
  if (grown == nullptr) reportSevere(41);
  channel.record = grown;
  channel.recordCapacity = capacity;
}

// Hands a direct connection's complete record to the system as one write.
void writeRecordNow(Connection& connection) {
  OutputChannel& channel = connection.output;
  size_t written = 0;
  while (written < channel.recordUsed) {
    const ssize_t n =
        write(connection.fd.load(), channel.record + written, channel.recordUsed - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) ioFailure(38, connection);
    written += static_cast<size_t>(n);
  }
  channel.recordUsed = 0;
}

}  // namespace

std::string_view recordTerminator(const Connection& connection) {
  switch (connection.terminator) {
    case TerminatorKind::CR:
      return "\r";
    case TerminatorKind::LF:
      return "\n";
    case TerminatorKind::Normal:
    case TerminatorKind::CRLF:
      break;
  }
  return "\r\n";
}

void startOutput(Connection& connection, ChannelKind kind, bool truncateOnFirstWrite) {
  connection.output.kind = kind;
  connection.output.truncateOnFirstWrite.store(truncateOnFirstWrite &&
                                               kind == ChannelKind::DiskFile);
}

void startRecord(Connection& connection) {
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) {
    channel.recordUsed = 0;
    return;
  }
  channel.used = completeBytes(currentBuffer(connection));
}

char* recordSpace(Connection& connection, size_t count) {
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) {
    reserveInRecord(channel, count);
    return channel.record + channel.recordUsed;
  }
  reserveInBuffer(connection, count);
  return currentBuffer(connection).bytes + channel.used;
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
  publishRecords(connection, 1, channel.used - completeBytes(currentBuffer(connection)));
}

size_t recordBatch(Connection& connection, size_t recordLength, size_t wanted) {
  OutputChannel& channel = connection.output;
  if (channel.kind == ChannelKind::Direct) {
    reserveInRecord(channel, recordLength);
    return wanted > 0 ? 1 : 0;
  }
  reserveInBuffer(connection, recordLength);
  const size_t fit = (currentBuffer(connection).capacity - channel.used) / recordLength;
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
  publishRecords(connection, count, recordLength);
}
