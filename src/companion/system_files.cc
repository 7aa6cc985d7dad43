#include "companion/system_files.h"

#include "runtime/platform/file_transfers.h"

namespace {

// Most names tried for a new file before the folder is taken to refuse it.
constexpr int kUniqueNameAttempts = 100;

// The open's refusal that means the name is taken.
constexpr int32_t kNameTaken = 10;

}  // namespace

FileHandle openToReadAgain(const char* path) {
  SystemError error = 0;
  const FileHandle file = openFileRetrying(path, OpenIntent::ReadAtOnce, &error);
  if (file == kNoFile) return kNoFile;
  FileFacts facts;
  if (!systemCalls().describeFile(file, &facts) || facts.kind != FileKind::Disk) {
    closeFile(file);
    return kNoFile;
  }
  return file;
}

int64_t readSome(FileHandle file, void* buffer, size_t size, SystemError& error) {
  for (;;) {
    const int64_t got = readFileRetrying(file, buffer, size, &error);
    if (got >= 0 || !isError(error, ErrorName::WouldBlock)) return got;
    // A standard input left non-blocking by whoever started the program.
    systemCalls().waitReadable(file, -1);
  }
}

SystemError writeWhole(FileHandle file, const void* data, size_t length) {
  SystemError error = 0;
  const size_t written = writeAll(file, static_cast<const char*>(data), length, &error);
  return written == length ? 0 : error;
}

FileHandle standardOutput(bool error) {
  return systemCalls().standardStream(error ? StandardStream::Error : StandardStream::Output);
}

SystemError closeFile(FileHandle file) {
  SystemError error = 0;
  return closeFileOnce(file, &error) ? 0 : error;
}

bool isFolder(const char* path) {
  PathFacts facts;
  return systemCalls().describePath(path, &facts) && facts.kind == FileKind::Directory;
}

bool sameFile(const char* a, const char* b) {
  PathFacts first, second;
  return systemCalls().describePath(a, &first) && systemCalls().describePath(b, &second) &&
         first.volume == second.volume && first.index == second.index;
}

SystemError replaceRefusal(const char* path) {
  // Opened as a program that writes the file would open it, so that every reason it
  // would meet (permissions, a read-only file system, another program writing it)
  // counts; a FIFO without a reader, which may be replaced, is not waited for.
  SystemError error = 0;
  const FileHandle file = openFileRetrying(path, OpenIntent::WriteExisting, &error);
  if (file != kNoFile) {
    closeFile(file);
    return 0;
  }
  return isError(error, ErrorName::NotFound) || isError(error, ErrorName::NoSuchDevice) ? 0 : error;
}

FileHandle createUniqueFile(std::string& path, SystemError& error) {
  static constexpr char kLetters[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  const size_t stem = path.size() >= 6 ? path.size() - 6 : 0;
  uint64_t seed = static_cast<uint64_t>(systemCalls().monotonicNanoseconds());
  for (int attempt = 0; attempt < kUniqueNameAttempts; ++attempt) {
    // Six letters from the clock, stirred anew for each attempt.
    seed = (seed ^ (seed >> 29)) * 0x9E3779B97F4A7C15ull + static_cast<uint64_t>(attempt);
    uint64_t bits = seed;
    for (size_t i = stem; i < path.size(); ++i, bits /= 36) path[i] = kLetters[bits % 36];
    const FileHandle file = openFileRetrying(path.c_str(), OpenIntent::CreateNew, &error);
    if (file != kNoFile || openRefusalMessage(error) != kNameTaken) return file;
  }
  return kNoFile;
}

SystemError renameFile(const char* from, const char* to) {
  SystemError error = 0;
  return systemCalls().renameFile(from, to, &error) ? 0 : error;
}

void removeFile(const char* path) {
  SystemError ignored = 0;
  systemCalls().removeFile(path, &ignored);
}

std::string errorText(SystemError error) {
  char text[256];
  return std::string(text, systemErrorText(error, text, sizeof text));
}
