// The output file, written under a temporary name in its own folder and given its
// final name only once it is complete, so that a failed run leaves no partial file.
#pragma once

#include <cstddef>
#include <string>

#include "companion/companion_failure.h"
#include "runtime/platform/system_calls.h"

/// An output file being written. Until it is committed it lies under a hidden name
/// beside the final one, and going out of scope closes and removes it.
struct OutputFile {
  FileHandle handle = kNoFile;
  std::string finalPath;  // the name the user gave
  std::string tempPath;   // the hidden file beside it while it is unfinished; else empty
  SystemError error = 0;  // why the first write that failed did; later writes are dropped

  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();
};

/// Creates the temporary file of the output `finalPath` in `file`. A folder, a folder
/// that cannot take the file, or an existing file that this process may not write is a
/// failure naming the output, and leaves the existing file alone.
CompanionFailure createOutputFile(const char* finalPath, OutputFile& file);

/// Appends `length` bytes; false once a write has failed, after which nothing more is
/// written and the commit fails.
bool writeOutput(OutputFile& file, const void* data, size_t length);

/// The failure of the write that failed, naming the output ("out.png: cannot write:
/// No space left on device").
CompanionFailure outputWriteFailure(const OutputFile& file);

/// Gives the complete file its final name, replacing any file of that name; a write that
/// failed before, or a failure now, is a failure naming the output, and the file stays
/// unfinished.
CompanionFailure commitOutputFile(OutputFile& file);
