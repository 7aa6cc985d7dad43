#include "runtime/connections/connection_output.h"

#include "runtime/connections/connection.h"
#include "runtime/connections/io_failure.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/records/drain_channel.h"
#include "runtime/records/record_terminator.h"

void startOutput(Connection& connection, bool device) {
  // Terminals and devices see each record the moment it is complete, and so does a
  // standard stream named as a device, whatever it reaches.
  startChannel(connection.output, channelKindFor(connection.fd.load(), device), &connection.fd,
               recordTerminatorBytes(connection.terminator));
}

void settleOutput(Connection& connection, ChannelStatus status) {
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

void drainConnection(Connection& connection) {
  settleOutput(connection, drainChannel(connection.output));
}
