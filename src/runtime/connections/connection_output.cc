#include "runtime/connections/connection_output.h"

#include "runtime/connections/connection.h"
#include "runtime/connections/io_failure.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/records/drain_channel.h"
#include "runtime/records/record_terminator.h"

namespace {

// Ends the run as a step of the channel requires: a refused write, refused memory, or
// the end of the run taken over by another thread.
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

}  // namespace

void startOutput(Connection& connection, bool device) {
  FileFacts facts;
  const bool known = systemCalls().describeFile(connection.fd.load(), &facts);
  // Disk files and pipes gather records into large buffers; terminals and devices see
  // each record the moment it is complete, and so does a standard stream named as a
  // device, whatever it reaches.
  ChannelKind kind = ChannelKind::Direct;
  if (!device && known && facts.kind == FileKind::Disk) kind = ChannelKind::DiskFile;
  if (!device && known && facts.kind == FileKind::Pipe) kind = ChannelKind::Stream;
  startChannel(connection.output, kind, &connection.fd, kind == ChannelKind::DiskFile);
}

RecordRoom reserveRecords(Connection& connection, size_t length, size_t wanted) {
  RecordRoom room;
  settle(connection, reserveRecords(connection.output, length, wanted, room));
  return room;
}

void commitRecords(Connection& connection, size_t count) {
  settle(connection, commitRecords(connection.output, count));
}

void expectOutput(Connection& connection, uint64_t bytes) {
  expectOutput(connection.output, bytes);
}

std::string_view recordTerminator(const Connection& connection) {
  return recordTerminatorBytes(connection.terminator);
}

void drainConnection(Connection& connection) {
  settle(connection, drainChannel(connection.output));
}
