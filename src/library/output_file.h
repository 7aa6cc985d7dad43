// A file the library writes: replaced from its start, in pieces of whole records or lines,
// so that whatever stops the writing leaves whole ones only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "boxpaint/failure.h"
#include "runtime/platform/system_calls.h"

/// A file open for writing. Closed when it goes, if still open.
struct OutputFile {
  FileHandle handle = kNoFile;
  std::string path;
  bool disk = false;     // a regular file: cut before the first piece and after a failed write
  bool started = false;  // a piece has been written, and the old content cut
  uint64_t written = 0;  // bytes of the whole pieces written

  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();
};

/// Opens (or creates) `path` for writing; an existing file keeps its content until the
/// first piece is written. Fails with the message boxpaint reports for a refused open
/// (29 not found, 9 access denied, 30 any other, ...).
boxpaint::Failure openOutputFile(const std::string& path, OutputFile& file);

/// Writes the `count` bytes at `bytes`, whole records or lines, after the ones before; the
/// first piece cuts a disk file's old content first. On a refused or short write (message
/// 38) a disk file is cut back to the pieces before this one.
boxpaint::Failure writePiece(OutputFile& file, const char* bytes, size_t count);

/// Closes the file; message 28 when the system reports a failure.
boxpaint::Failure closeOutputFile(OutputFile& file);

/// Bytes of text gathered before they are written as one piece.
constexpr size_t kTextPieceBytes = size_t{1} << 20;

/// Writes `text`, whole lines, as one piece and empties it, once it holds kTextPieceBytes
/// or more, or whenever `all`; then, when `all`, closes the file.
boxpaint::Failure writeLines(OutputFile& file, std::string& text, bool all);
