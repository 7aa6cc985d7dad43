#include "runtime/connections/open_connection.h"

#include <algorithm>
#include <cstring>

#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/resolve_file_name.h"
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

// Opens the resolved name as `intent` asks; returns the handle, or kNoFile with the number
// of the message in `refusal`.
FileHandle openResolved(const ResolvedName& resolved, OpenIntent intent, Message& refusal) {
  refusal = Message::FileNotFound;
  if (resolved.fileName[0] == '\0') return kNoFile;
  SystemCalls& system = systemCalls();
  StandardStream stream;
  if (standardStreamOf(resolved.device, stream)) return system.standardStream(stream);
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

// Connects `unit` to the file `name` names, opened as `intent` asks.
Failure openConnection(int32_t unit, const char* name, int length, OpenIntent intent) {
  ResolvedName resolved;
  const int32_t status = resolveFileName(name, length, resolved);
  // A run that is ending opens nothing: no new file is made once the end is claimed.
  if (runEndingElsewhere()) return stopFailure();
  Message refusal = static_cast<Message>(status);
  const FileHandle fd = status == 0 ? openResolved(resolved, intent, refusal) : kNoFile;
  if (fd == kNoFile) return fileFailure(refusal, unit, resolved.fileName);
  const bool device = resolved.device != DeviceKind::None;
  // Every handle but a standard stream's is the connection's own, to close.
  StandardStream stream;
  const bool ownsHandle = !standardStreamOf(resolved.device, stream);
  const Access access = intent == OpenIntent::Read ? Access::Read : Access::Write;
  if (access == Access::Write && !device && unit != kConsoleUnit) {
    // One writer per model file: a file that another run is writing is refused and left
    // as it is. A file system that cannot lock is written unlocked. The lock goes with
    // the handle when the file is closed.
    FileFacts facts;
    SystemError error = 0;
    if (systemCalls().describeFile(fd, &facts) && facts.kind == FileKind::Disk &&
        !systemCalls().lockFile(fd, &error)) {
      dropHandle(fd);
      return fileFailure(Message::OpenFailure, unit, resolved.fileName);
    }
  }
  if (connectHandle(unit, resolved.fileName, access, fd, ownsHandle, device) == nullptr) {
    return runEndingElsewhere() ? stopFailure()
                                : fileFailure(Message::OpenFailure, unit, resolved.fileName);
  }
  return {};
}

}  // namespace

Failure openInput(int32_t unit, const char* name, int length) {
  return openConnection(unit, name, length, OpenIntent::Read);
}

Failure openOutput(int32_t unit, const char* name, int length) {
  // The console output sent to a file asks for read access too: a file the user may not
  // read is refused.
  return openConnection(unit, name, length,
                        unit == kConsoleUnit ? OpenIntent::ReadWrite : OpenIntent::Write);
}

Connection* connectHandle(int32_t unit, const char* fileName, Access access, FileHandle fd,
                          bool ownsHandle, bool device) {
  const TerminatorKind terminator = terminatorForUnit(unit);
  Connection* connection;
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    connection = takeConnection(unit);
    if (connection != nullptr) {
      std::memcpy(connection->fileName, fileName,
                  std::min(std::strlen(fileName), sizeof connection->fileName - 1));
      connection->access = access;
      connection->fd.store(fd);
      connection->ownsHandle = ownsHandle;
      connection->owner = systemCalls().currentThread();
      connection->terminator = terminator;
      if (access == Access::Write) startOutput(*connection, device);
    }
  }
  if (connection == nullptr && ownsHandle) dropHandle(fd);
  return connection;
}

bool isOpenRefusal(const Failure& failure) {
  switch (failure.message) {
    case Message::FileNotFound:
    case Message::AccessDenied:
    case Message::NoSuchDevice:
    case Message::FileExists:
    case Message::BadFileName:
    case Message::OpenFailure:
      return true;
    default:
      return false;
  }
}
