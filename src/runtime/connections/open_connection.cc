#include "runtime/connections/open_connection.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/io_failure.h"
#include "runtime/connections/open_error.h"
#include "runtime/connections/resolve_file_name.h"
#include "runtime/connections/termination_state.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/run_end.h"
#include "runtime/records/record_terminator.h"

namespace {

// The descriptor of a reserved device, or -1 when the device is a file to open.
int deviceDescriptor(DeviceKind device) {
  switch (device) {
    case DeviceKind::StandardOutput:
      return 1;
    case DeviceKind::StandardInput:
      return 0;
    case DeviceKind::StandardError:
      return 2;
    case DeviceKind::None:
    case DeviceKind::Null:
      break;
  }
  return -1;
}

// Opens the resolved name; returns the descriptor or a negated message number.
// Output asks for read access too when `readWrite` is set.
int openResolved(const ResolvedName& resolved, OpenMode mode, bool readWrite) {
  if (resolved.fileName[0] == '\0') return -numberOf(Message::FileNotFound);
  int standard = deviceDescriptor(resolved.device);
  if (standard >= 0) return standard;
  const char* path = resolved.device == DeviceKind::Null ? "/dev/null" : resolved.fileName;
  int flags = mode == OpenMode::Input ? O_RDONLY : (readWrite ? O_RDWR : O_WRONLY) | O_CREAT;
  int fd;
  do {
    fd = open(path, flags | O_CLOEXEC | O_NOCTTY, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return -messageForOpenError(errno);
  struct stat info;
  if (fstat(fd, &info) != 0) {
    close(fd);
    return -numberOf(Message::OpenFailure);
  }
  if (S_ISDIR(info.st_mode)) {  // only reachable in input mode
    close(fd);
    return -numberOf(Message::AccessDenied);
  }
  return fd;
}

}  // namespace

int32_t openConnection(int32_t unit, const char* name, int length, OpenMode mode) {
  ResolvedName resolved;
  int32_t status = resolveFileName(name, length, resolved);
  // The console output sent to a file is opened like the model file, but with read
  // and write access asked for: a file the user may not read is refused.
  bool readWrite = unit == kConsoleUnit;
  int fd = status == 0 ? openResolved(resolved, mode, readWrite) : -status;
  if (fd < 0) {
    if (mode == OpenMode::Input) return -fd;
    ioFailure(static_cast<Message>(-fd), unit, resolved.fileName);
  }

  bool device = resolved.device != DeviceKind::None;
  Connection* connection = new (std::nothrow) Connection;
  if (connection == nullptr) {
    if (!device) close(fd);
    reportSevere(Message::OutOfMemory);
  }
  connection->unit = unit;
  std::memcpy(connection->fileName, resolved.fileName, sizeof connection->fileName);
  connection->access = mode == OpenMode::Input ? Access::Read : Access::Write;
  connection->fd = fd;
  connection->ownsDescriptor = fd > 2;
  connection->terminator = terminatorForUnit(unit);
  if (mode == OpenMode::Output) {
    struct stat info;
    const bool known = !device && fstat(fd, &info) == 0;
    const bool regular = known && S_ISREG(info.st_mode);
    // Disk files and pipes gather records into large buffers; terminals and other
    // devices see each record the moment it is complete.
    ChannelKind kind = ChannelKind::Direct;
    if (regular) kind = ChannelKind::DiskFile;
    if (known && (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode))) kind = ChannelKind::Stream;
    startOutput(*connection, kind, regular);
    if (regular && unit != kConsoleUnit) {
      // One writer per model file: a file that another run is writing is refused and
      // left as it is. A file system that cannot lock is written unlocked. The lock goes
      // with the descriptor when the file is closed.
      int locked;
      do {
        locked = flock(fd, LOCK_EX | LOCK_NB);
      } while (locked != 0 && errno == EINTR);
      if (locked != 0 && errno != ENOLCK && errno != EOPNOTSUPP && errno != EINVAL) {
        close(fd);
        delete connection;
        ioFailure(Message::OpenFailure, unit, resolved.fileName);
      }
    }
  }

  // From the first connection on, the end of the run closes them all.
  setConnectionCloser(closeAllConnections);
  bool entered;
  bool ending;
  {
    std::lock_guard<std::mutex> guard(terminationLock());
    ending = connectionsClosed();
    entered = !ending && enterConnection(connection);
  }
  if (!entered) {
    if (connection->ownsDescriptor) close(fd);
    delete connection;
    if (ending) waitForRunEnd();
    if (mode == OpenMode::Input) return numberOf(Message::OpenFailure);
    ioFailure(Message::OpenFailure, unit, resolved.fileName);
  }
  return 0;
}
