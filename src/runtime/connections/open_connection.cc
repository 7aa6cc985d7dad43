#include "runtime/connections/open_connection.h"

#include <cstring>

#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/io_failure.h"
#include "runtime/connections/resolve_file_name.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/run_end.h"
#include "runtime/platform/file_transfers.h"
#include "runtime/records/record_terminator.h"

namespace {

// The standard stream of a reserved device, when the device is one.
bool standardStreamOf(DeviceKind device, StandardStream& stream) {
  switch (device) {
    case DeviceKind::StandardOutput:
      stream = StandardStream::Output;
      return true;
    case DeviceKind::StandardInput:
      stream = StandardStream::Input;
      return true;
    case DeviceKind::StandardError:
      stream = StandardStream::Error;
      return true;
    case DeviceKind::None:
    case DeviceKind::Null:
    case DeviceKind::Named:
      break;
  }
  return false;
}

// Closes a handle the run no longer needs; nothing more can be said of a failure.
void dropHandle(FileHandle file) {
  SystemError error = 0;
  closeFileOnce(file, &error);
}

// Opens the resolved name; returns the handle, or kNoFile with the number of the message
// in `refusal`. Output asks for read access too when `readWrite` is set.
FileHandle openResolved(const ResolvedName& resolved, OpenMode mode, bool readWrite,
                        Message& refusal) {
  refusal = Message::FileNotFound;
  if (resolved.fileName[0] == '\0') return kNoFile;
  SystemCalls& system = systemCalls();
  StandardStream stream;
  if (standardStreamOf(resolved.device, stream)) return system.standardStream(stream);
  const OpenIntent intent = mode == OpenMode::Input ? OpenIntent::Read
                            : readWrite             ? OpenIntent::ReadWrite
                                                    : OpenIntent::Write;
  SystemError error = 0;
  FileHandle file = kNoFile;
  if (resolved.device == DeviceKind::Null) {
    file = system.openNullDevice(intent, &error);
  } else {
    // A file, or a device that the system opens by its name.
    file = openFileRetrying(resolved.fileName, intent, &error);
  }
  if (file == kNoFile) {
    refusal = static_cast<Message>(openRefusalMessage(error));
    return kNoFile;
  }
  FileFacts facts;
  if (!system.describeFile(file, &facts) || facts.kind == FileKind::Directory) {
    // A directory opens only for reading, and is refused as the system refuses it for
    // writing.
    refusal = facts.kind == FileKind::Directory ? Message::AccessDenied : Message::OpenFailure;
    dropHandle(file);
    return kNoFile;
  }
  return file;
}

}  // namespace

int32_t openConnection(int32_t unit, const char* name, int length, OpenMode mode) {
  ResolvedName resolved;
  const int32_t status = resolveFileName(name, length, resolved);
  // The console output sent to a file is opened like the model file, but with read
  // and write access asked for: a file the user may not read is refused.
  const bool readWrite = unit == kConsoleUnit;
  Message refusal = static_cast<Message>(status);
  const FileHandle fd = status == 0 ? openResolved(resolved, mode, readWrite, refusal) : kNoFile;
  if (fd == kNoFile) {
    if (mode == OpenMode::Input) return numberOf(refusal);
    ioFailure(refusal, unit, resolved.fileName);
  }
  const bool device = resolved.device != DeviceKind::None;
  // Every handle but a standard stream's is the connection's own, to close.
  StandardStream stream;
  const bool ownsHandle = !standardStreamOf(resolved.device, stream);
  if (mode == OpenMode::Output && !device && unit != kConsoleUnit) {
    // One writer per model file: a file that another run is writing is refused and left
    // as it is. A file system that cannot lock is written unlocked. The lock goes with
    // the handle when the file is closed.
    FileFacts facts;
    SystemError error = 0;
    if (systemCalls().describeFile(fd, &facts) && facts.kind == FileKind::Disk &&
        systemCalls().lockFile(fd, &error) == LockOutcome::Refused) {
      dropHandle(fd);
      ioFailure(Message::OpenFailure, unit, resolved.fileName);
    }
  }
  const TerminatorKind terminator = terminatorForUnit(unit);

  // From the first connection on, the end of the run closes them all.
  setConnectionCloser(closeAllConnections);
  Connection* connection;
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    connection = takeConnection(unit);
    if (connection != nullptr) {
      std::memcpy(connection->fileName, resolved.fileName, sizeof connection->fileName);
      connection->access = mode == OpenMode::Input ? Access::Read : Access::Write;
      connection->fd.store(fd);
      connection->ownsHandle = ownsHandle;
      connection->terminator = terminator;
      if (mode == OpenMode::Output) startOutput(*connection, device);
    }
  }
  if (connection == nullptr) {
    if (ownsHandle) dropHandle(fd);
    if (runEndingElsewhere()) waitForRunEnd();
    if (mode == OpenMode::Input) return numberOf(Message::OpenFailure);
    ioFailure(Message::OpenFailure, unit, resolved.fileName);
  }
  return 0;
}
