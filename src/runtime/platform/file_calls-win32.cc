// Files, devices, standard streams and full paths on Windows, through the ANSI calls.
#include <windows.h>

#include <initializer_list>

#include "runtime/platform/fill_system_calls.h"

namespace {

HANDLE handleOf(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}

FileHandle fileOf(HANDLE handle) {
  return reinterpret_cast<FileHandle>(handle);
}

// The most one call moves: the system counts bytes in 32 bits.
constexpr size_t kMostPerCall = size_t{1} << 30;

DWORD callSize(size_t count) {
  return static_cast<DWORD>(count < kMostPerCall ? count : kMostPerCall);
}

// What CreateFileA is asked for each intent. Input is shared for reading and writing,
// so that a file another program is writing can still be read. Output is shared for
// reading only: a second writer of the same file is refused by the system (a sharing
// violation), which leaves the file alone. Appending (the diagnostic log, standard error
// sent to a file) shares both ways, as several runs may append to one log.
struct OpenRequest {
  DWORD access;
  DWORD share;
  DWORD disposition;
};

OpenRequest requestFor(OpenIntent intent) {
  switch (intent) {
    case OpenIntent::Read:
      return {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING};
    case OpenIntent::Write:
      return {GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS};
    case OpenIntent::ReadWrite:
      return {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS};
    case OpenIntent::Append:
      return {FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_ALWAYS};
    case OpenIntent::ReadAtOnce:
      return {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING};
    case OpenIntent::WriteExisting:
      return {GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING};
    case OpenIntent::CreateNew:
      return {GENERIC_WRITE, 0, CREATE_NEW};
  }
  return {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING};
}

FileHandle openPath(const char* path, OpenIntent intent, SystemError* error) {
  const OpenRequest request = requestFor(intent);
  const HANDLE handle = CreateFileA(path, request.access, request.share, nullptr,
                                    request.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    *error = static_cast<SystemError>(GetLastError());
    return kNoFile;
  }
  return fileOf(handle);
}

FileHandle openNullDevice(OpenIntent intent, SystemError* error) {
  return openPath("NUL", intent, error);
}

int64_t readFile(FileHandle file, void* bytes, size_t count, SystemError* error) {
  DWORD got = 0;
  if (ReadFile(handleOf(file), bytes, callSize(count), &got, nullptr)) return got;
  const DWORD reason = GetLastError();
  // A pipe whose writer has gone, and the end of a file, are the end of the input.
  if (reason == ERROR_BROKEN_PIPE || reason == ERROR_HANDLE_EOF) return 0;
  *error = static_cast<SystemError>(reason);
  return -1;
}

int64_t writeFile(FileHandle file, const void* bytes, size_t count, SystemError* error) {
  DWORD put = 0;
  if (WriteFile(handleOf(file), bytes, callSize(count), &put, nullptr)) return put;
  *error = static_cast<SystemError>(GetLastError());
  return -1;
}

int64_t writeFileAt(FileHandle file, const void* bytes, size_t count, uint64_t offset,
                    SystemError* error) {
  // On a handle opened for synchronous use the offset of the OVERLAPPED record says where
  // the bytes land, and the call still waits until they are written.
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD put = 0;
  if (WriteFile(handleOf(file), bytes, callSize(count), &put, &at)) return put;
  *error = static_cast<SystemError>(GetLastError());
  return -1;
}

bool cutFile(FileHandle file, uint64_t length, SystemError* error) {
  LARGE_INTEGER position;
  position.QuadPart = static_cast<LONGLONG>(length);
  if (SetFilePointerEx(handleOf(file), position, nullptr, FILE_BEGIN) &&
      SetEndOfFile(handleOf(file))) {
    return true;
  }
  *error = static_cast<SystemError>(GetLastError());
  return false;
}

bool closeFile(FileHandle file, SystemError* error) {
  if (CloseHandle(handleOf(file))) return true;
  *error = static_cast<SystemError>(GetLastError());
  return false;
}

bool describeFile(FileHandle file, FileFacts* facts) {
  const HANDLE handle = handleOf(file);
  const DWORD type = GetFileType(handle);
  if (type == FILE_TYPE_UNKNOWN && GetLastError() != NO_ERROR) return false;
  *facts = FileFacts{};
  switch (type) {
    case FILE_TYPE_DISK: {
      facts->kind = FileKind::Disk;
      LARGE_INTEGER size{};
      if (GetFileSizeEx(handle, &size)) facts->size = static_cast<uint64_t>(size.QuadPart);
      LARGE_INTEGER none{};
      LARGE_INTEGER position{};
      if (SetFilePointerEx(handle, none, &position, FILE_CURRENT)) {
        facts->position = static_cast<uint64_t>(position.QuadPart);
      }
      break;
    }
    case FILE_TYPE_PIPE:
      facts->kind = FileKind::Pipe;
      break;
    case FILE_TYPE_CHAR:
      facts->kind = FileKind::Device;
      break;
    default:
      break;
  }
  // A handle cannot be asked whether it appends: every write here says where it goes,
  // or goes where the handle stands.
  return true;
}

bool lockFile(FileHandle, SystemError*) {
  // The share mode of the open already keeps every other writer out.
  return true;
}

bool waitWritable(FileHandle, int) {
  // A pipe cannot be asked for room: the write that follows waits for it.
  return true;
}

bool waitReadable(FileHandle, int) {
  // A pipe cannot be waited on here: the read that follows waits for bytes.
  return true;
}

bool describePath(const char* path, PathFacts* facts) {
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  *facts = PathFacts{};
  // Opened for no access at all, which a folder allows too, only to learn which file it is.
  const HANDLE handle = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION information;
    if (GetFileInformationByHandle(handle, &information)) {
      facts->volume = information.dwVolumeSerialNumber;
      facts->index = (uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    }
    const DWORD type = GetFileType(handle);
    facts->kind = type == FILE_TYPE_PIPE   ? FileKind::Pipe
                  : type == FILE_TYPE_CHAR ? FileKind::Device
                                           : FileKind::Disk;
    CloseHandle(handle);
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) facts->kind = FileKind::Directory;
  return true;
}

bool renameFile(const char* from, const char* to, SystemError* error) {
  if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return true;
  *error = static_cast<SystemError>(GetLastError());
  return false;
}

bool removeFile(const char* path, SystemError* error) {
  if (DeleteFileA(path)) return true;
  *error = static_cast<SystemError>(GetLastError());
  return false;
}

int64_t fullPath(const char* name, char* path, size_t capacity) {
  const DWORD length = GetFullPathNameA(name, static_cast<DWORD>(capacity), path, nullptr);
  // 0: refused; capacity or more: the size it would need, the NUL included.
  if (length == 0 || length >= capacity) return -1;
  return length;
}

DWORD standardHandleNumber(StandardStream stream) {
  switch (stream) {
    case StandardStream::Input:
      return STD_INPUT_HANDLE;
    case StandardStream::Output:
      return STD_OUTPUT_HANDLE;
    case StandardStream::Error:
      return STD_ERROR_HANDLE;
  }
  return STD_ERROR_HANDLE;
}

FileHandle standardStream(StandardStream stream) {
  return fileOf(GetStdHandle(standardHandleNumber(stream)));
}

// A standard stream the process was started without is given the null device, opened
// for reading only: output meant for it then fails as a write error, as it does where
// the stream is closed on POSIX.
void occupyStandardStreams() {
  for (StandardStream stream :
       {StandardStream::Input, StandardStream::Output, StandardStream::Error}) {
    const HANDLE current = GetStdHandle(standardHandleNumber(stream));
    if (current != nullptr && current != INVALID_HANDLE_VALUE) continue;
    SystemError error = 0;
    const FileHandle null = openPath("NUL", OpenIntent::Read, &error);
    if (null != kNoFile) SetStdHandle(standardHandleNumber(stream), handleOf(null));
  }
}

bool redirectStandardError(const char* path) {
  SystemError error = 0;
  const FileHandle file = openPath(path, OpenIntent::Append, &error);
  if (file == kNoFile) return false;
  return SetStdHandle(STD_ERROR_HANDLE, handleOf(file)) != 0;
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
  table.namedDevices = true;
  table.folderMarks = "\\/:";
  table.standardStream = standardStream;
  table.occupyStandardStreams = occupyStandardStreams;
  table.redirectStandardError = redirectStandardError;
}
