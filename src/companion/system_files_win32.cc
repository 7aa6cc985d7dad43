#include "companion/system_files.h"

#include <windows.h>

#include <cstdio>

#include "companion/system_handle.h"

namespace {

// The facts of an existing file, or false when it cannot be opened to read them.
bool fileFacts(const char* path, BY_HANDLE_FILE_INFORMATION& facts) {
  const HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool known = GetFileInformationByHandle(file, &facts) != 0;
  CloseHandle(file);
  return known;
}

}  // namespace

int openRegularFile(const char* path) {
  const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  if (GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return -1;
  }
  return fileNumber(file);
}

int64_t readSome(int fd, void* buffer, size_t size, int& error) {
  const DWORD count = size < (DWORD{1} << 30) ? static_cast<DWORD>(size) : DWORD{1} << 30;
  DWORD got = 0;
  if (ReadFile(systemHandle(fd), buffer, count, &got, nullptr)) return got;
  const DWORD reason = GetLastError();
  // A pipe whose writer has gone is the end of the input.
  if (reason == ERROR_BROKEN_PIPE || reason == ERROR_HANDLE_EOF) return 0;
  error = static_cast<int>(reason);
  return -1;
}

void closeFile(int fd) {
  CloseHandle(systemHandle(fd));
}

bool isFolder(const char* path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool sameFile(const char* a, const char* b) {
  BY_HANDLE_FILE_INFORMATION first, second;
  return fileFacts(a, first) && fileFacts(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

int replaceRefusal(const char* path) {
  // Opened as a program that writes the file would open it, so that every reason it
  // would meet (a read-only file, access denied, another program writing it) counts.
  const HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    CloseHandle(file);
    return 0;
  }
  const DWORD reason = GetLastError();
  return reason == ERROR_FILE_NOT_FOUND ? 0 : static_cast<int>(reason);
}

int createUniqueFile(std::string& path, int& error) {
  // The last six characters become a number not yet taken in the folder.
  const size_t stem = path.size() >= 6 ? path.size() - 6 : 0;
  for (DWORD attempt = 0; attempt < 1000; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%06lu",
                  static_cast<unsigned long>((GetTickCount() + attempt * 7919) % 1000000));
    path.replace(stem, std::string::npos, suffix);
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return fileNumber(file);
    error = static_cast<int>(GetLastError());
    if (error != ERROR_FILE_EXISTS) return -1;
  }
  return -1;
}

int closeNewFile(int fd) {
  // A new file already has the permissions every new file gets.
  return CloseHandle(systemHandle(fd)) ? 0 : static_cast<int>(GetLastError());
}

int renameFile(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) ? 0 : static_cast<int>(GetLastError());
}

void removeFile(const char* path) {
  DeleteFileA(path);
}

std::string errorText(int error) {
  char text[512];
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(error), 0, text, sizeof text, nullptr);
  // The system's text ends in a full stop and a line end, which the companions' lines add.
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  if (length == 0) return "system error " + std::to_string(error);
  return std::string(text, length);
}
