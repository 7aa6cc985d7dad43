#include "runtime/connections/connection_output.h"

#include "runtime/connections/connection.h"
#include "runtime/records/drain_channel.h"
#include "runtime/records/record_terminator.h"

void startOutput(Connection& connection, bool device) {
  // Terminals and devices see each record the moment it is complete, and so does a
  // standard stream named as a device, whatever it reaches.
  startChannel(connection.output, channelKindFor(connection.fd.load(), device), &connection.fd,
               recordTerminatorBytes(connection.terminator));
}

void endRecordsWith(Connection& connection, TerminatorKind kind) {
  connection.terminator = kind;
  setChannelTerminator(connection.output, recordTerminatorBytes(kind));
}

Failure outputFailure(const Connection& connection, ChannelStatus status) {
  switch (status) {
    case ChannelStatus::Ok:
      break;
    case ChannelStatus::Refused:
      return fileFailure(Message::WriteError, connection.unit, connection.fileName);
    case ChannelStatus::NoMemory:
      return failureOf(Message::OutOfMemory);
    case ChannelStatus::Ending:
      return stopFailure();
  }
  return {};
}

Failure drainConnection(Connection& connection) {
  return outputFailure(connection, drainChannel(connection.output));
}
