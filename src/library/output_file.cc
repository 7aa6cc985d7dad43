#include "library/output_file.h"

#include "library/library_failure.h"
#include "runtime/diagnostics/message.h"
#include "runtime/platform/file_transfers.h"

OutputFile::~OutputFile() {
  SystemError ignored = 0;
  if (handle != kNoFile) closeFileOnce(handle, &ignored);
}

boxpaint::Failure openOutputFile(const std::string& path, OutputFile& file) {
  file.path = path;
  if (boxpaint::Failure failure = nameFailure(path); failed(failure)) return failure;
  SystemError error = 0;
  file.handle = openFileRetrying(path.c_str(), OpenIntent::Write, &error);
  if (file.handle == kNoFile) return messageFailure(openRefusalMessage(error), path);
  FileFacts facts;
  file.disk = systemCalls().describeFile(file.handle, &facts) && facts.kind == FileKind::Disk;
  return {};
}

boxpaint::Failure writePiece(OutputFile& file, const char* bytes, size_t count) {
  SystemError error = 0;
  if (!file.started && file.disk && !cutFileRetrying(file.handle, 0, &error)) {
    return messageFailure(numberOf(Message::WriteError), file.path);
  }
  file.started = true;
  if (writeAll(file.handle, bytes, count, &error) != count) {
    // The piece's records that reached the file are taken back, so that the file ends
    // with whole ones; where the file cannot be cut, what reached it stays.
    if (file.disk) cutFileRetrying(file.handle, file.written, &error);
    return messageFailure(numberOf(Message::WriteError), file.path);
  }
  file.written += count;
  return {};
}

boxpaint::Failure closeOutputFile(OutputFile& file) {
  SystemError error = 0;
  const bool closed = closeFileOnce(file.handle, &error);
  file.handle = kNoFile;
  if (!closed) return messageFailure(numberOf(Message::CloseError), file.path);
  return {};
}

boxpaint::Failure writeLines(OutputFile& file, std::string& text, bool all) {
  if (text.size() >= kTextPieceBytes || (all && !text.empty())) {
    const boxpaint::Failure failure = writePiece(file, text.data(), text.size());
    text.clear();
    if (failed(failure)) return failure;
  }
  return all ? closeOutputFile(file) : boxpaint::Failure{};
}
