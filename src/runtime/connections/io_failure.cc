#include "runtime/connections/io_failure.h"

#include <cstring>

#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/run_end.h"
#include "runtime/platform/file_transfers.h"
#include "runtime/records/hand_over.h"

namespace {

// Closes a connection that has failed, without handing anything more over; a file that
// keeps whole records keeps only those.
void closeFailedConnection(Connection& connection) {
  std::lock_guard<std::mutex> guard(terminationLock());
  if (connection.access == Access::Write) abandonChannel(connection.output);
  const FileHandle fd = connection.fd.exchange(kNoFile);
  SystemError error = 0;
  if (connection.ownsHandle && fd != kNoFile) closeFileOnce(fd, &error);
  if (lookUpConnection(connection.unit) == &connection) {
    releaseChannel(connection.output);
    giveBackConnection(&connection);
  }
}

}  // namespace

void ioFailure(Message message, Connection& connection) {
  // Claim the end first, so that a console event cannot start a second ending while
  // the failing connection is being closed.
  claimRunEnd();
  const int32_t unit = connection.unit;
  const int64_t recordsRead = connection.recordsRead.load();
  char fileName[kMaxFileName + 1];
  std::memcpy(fileName, connection.fileName, sizeof fileName);
  closeFailedConnection(connection);
  reportSevere(message, unit, fileName, recordsRead);
}

void ioFailure(Message message, int32_t unit, const char* fileName) {
  reportSevere(message, unit, fileName, 0);
}
