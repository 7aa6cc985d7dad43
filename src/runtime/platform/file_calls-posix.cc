// Files, devices, standard streams and full paths on a POSIX system.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "runtime/platform/fill_system_calls.h"
#include "runtime/platform/lexical_full_path.h"

namespace {

int descriptor(FileHandle file) {
  return static_cast<int>(file);
}

int openFlags(OpenIntent intent) {
  switch (intent) {
    case OpenIntent::Read:
      return O_RDONLY;
    case OpenIntent::Write:
      return O_WRONLY | O_CREAT;
    case OpenIntent::ReadWrite:
      return O_RDWR | O_CREAT;
    case OpenIntent::Append:
      return O_WRONLY | O_CREAT | O_APPEND;
    case OpenIntent::ReadAtOnce:
      return O_RDONLY | O_NONBLOCK;
    case OpenIntent::WriteExisting:
      return O_WRONLY | O_NONBLOCK;
    case OpenIntent::CreateNew:
      return O_WRONLY | O_CREAT | O_EXCL;
  }
  return O_RDONLY;
}

FileHandle openPath(const char* path, OpenIntent intent, SystemError* error) {
  const int fd = open(path, openFlags(intent) | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) *error = errno;
  return fd < 0 ? kNoFile : fd;
}

FileHandle openNullDevice(OpenIntent intent, SystemError* error) {
  return openPath("/dev/null", intent, error);
}

// The count of a transfer, or -1 with the reason.
int64_t transferred(ssize_t count, SystemError* error) {
  if (count < 0) *error = errno;
  return count;
}

int64_t readFile(FileHandle file, void* bytes, size_t count, SystemError* error) {
  return transferred(read(descriptor(file), bytes, count), error);
}

int64_t writeFile(FileHandle file, const void* bytes, size_t count, SystemError* error) {
  return transferred(write(descriptor(file), bytes, count), error);
}

int64_t writeFileAt(FileHandle file, const void* bytes, size_t count, uint64_t offset,
                    SystemError* error) {
  return transferred(pwrite(descriptor(file), bytes, count, static_cast<off_t>(offset)), error);
}

bool cutFile(FileHandle file, uint64_t length, SystemError* error) {
  if (ftruncate(descriptor(file), static_cast<off_t>(length)) == 0) return true;
  *error = errno;
  return false;
}

bool closeFile(FileHandle file, SystemError* error) {
  if (close(descriptor(file)) == 0) return true;
  *error = errno;
  return false;
}

bool describeFile(FileHandle file, FileFacts* facts) {
  struct stat info;
  if (fstat(descriptor(file), &info) != 0) return false;
  *facts = FileFacts{};
  if (S_ISREG(info.st_mode)) {
    facts->kind = FileKind::Disk;
    facts->size = static_cast<uint64_t>(info.st_size);
    const off_t position = lseek(descriptor(file), 0, SEEK_CUR);
    facts->position = position > 0 ? static_cast<uint64_t>(position) : 0;
  } else if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
    facts->kind = FileKind::Pipe;
  } else if (S_ISCHR(info.st_mode)) {
    facts->kind = FileKind::Device;
  } else if (S_ISDIR(info.st_mode)) {
    facts->kind = FileKind::Directory;
  }
  const int flags = fcntl(descriptor(file), F_GETFL);
  facts->appending = flags != -1 && (flags & O_APPEND) != 0;
  return true;
}

bool lockFile(FileHandle file, SystemError* error) {
  int locked;
  do {
    locked = flock(descriptor(file), LOCK_EX | LOCK_NB);
  } while (locked != 0 && errno == EINTR);
  if (locked == 0) return true;
  *error = errno;
  // Some file systems cannot lock at all; their files are written unlocked.
  return errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL;
}

bool waitWritable(FileHandle file, int milliseconds) {
  pollfd entry{descriptor(file), POLLOUT, 0};
  const int ready = poll(&entry, 1, milliseconds);
  // A failing poll lets the write that follows say what is wrong.
  return ready != 0;
}

bool waitReadable(FileHandle file, int milliseconds) {
  pollfd entry{descriptor(file), POLLIN, 0};
  // A failing poll lets the read that follows say what is wrong.
  return poll(&entry, 1, milliseconds) != 0;
}

bool describePath(const char* path, PathFacts* facts) {
  struct stat info;
  if (stat(path, &info) != 0) return false;
  *facts = PathFacts{};
  facts->kind = S_ISREG(info.st_mode)                              ? FileKind::Disk
                : S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) ? FileKind::Pipe
                : S_ISCHR(info.st_mode)                            ? FileKind::Device
                : S_ISDIR(info.st_mode)                            ? FileKind::Directory
                                                                   : FileKind::Other;
  facts->volume = static_cast<uint64_t>(info.st_dev);
  facts->index = static_cast<uint64_t>(info.st_ino);
  return true;
}

bool renameFile(const char* from, const char* to, SystemError* error) {
  if (rename(from, to) == 0) return true;
  *error = errno;
  return false;
}

bool removeFile(const char* path, SystemError* error) {
  if (unlink(path) == 0) return true;
  *error = errno;
  return false;
}

int64_t fullPath(const char* name, char* path, size_t capacity) {
  std::string full;
  if (name[0] == '/') {
    full = lexicalFullPath(name, "");
  } else {
    char directory[4096];
    if (getcwd(directory, sizeof directory) == nullptr) return -1;
    full = lexicalFullPath(name, directory);
  }
  if (full.size() >= capacity) return -1;
  std::memcpy(path, full.c_str(), full.size() + 1);
  return static_cast<int64_t>(full.size());
}

FileHandle standardStream(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input:
      return 0;
    case StandardStream::Output:
      return 1;
    case StandardStream::Error:
      return 2;
  }
  return kNoFile;
}

// A standard descriptor that the process was started without is held by a read-only
// /dev/null: output meant for a closed standard output then fails as a write error
// instead of landing in the model file, which would otherwise take its number.
void occupyStandardStreams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) {
      dup2(opened, fd);
      close(opened);
    }
  }
}

bool redirectStandardError(const char* path) {
  SystemError error = 0;
  const FileHandle file = openPath(path, OpenIntent::Append, &error);
  if (file == kNoFile) return false;
  if (descriptor(file) != 2) {
    dup2(descriptor(file), 2);
    close(descriptor(file));
  }
  return true;
}

}  // namespace

void fillFileCalls(SystemCalls& table) {
  table.openFile = openPath;
  table.openNullDevice = openNullDevice;
  table.readFile = readFile;
  table.writeFile = writeFile;
  table.writeFileAt = writeFileAt;
  table.cutFile = cutFile;
  table.closeFile = closeFile;
  table.describeFile = describeFile;
  table.lockFile = lockFile;
  table.waitWritable = waitWritable;
  table.waitReadable = waitReadable;
  table.describePath = describePath;
  table.renameFile = renameFile;
  table.removeFile = removeFile;
  table.fullPath = fullPath;
  table.namedDevices = false;
  table.folderMarks = "/";
  table.standardStream = standardStream;
  table.occupyStandardStreams = occupyStandardStreams;
  table.redirectStandardError = redirectStandardError;
}
