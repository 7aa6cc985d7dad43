// The output file, written under a temporary name in its own folder and given its
// final name only once it is complete, so that a failed run leaves no partial file.
#pragma once

#include <cstddef>
#include <string>

#include "runtime/platform/system_calls.h"

/// An output file being written.
struct OutputFile {
  FileHandle handle = kNoFile;
  std::string finalPath;  // the name the user gave
  std::string tempPath;   // a hidden file beside it, removed by any failure
};

/// Creates the temporary file beside `finalPath`. A folder that cannot take it, or an
/// existing file that this process may not write, ends the run with one line naming the
/// output.
OutputFile createOutputFile(const char* finalPath);

/// Appends `length` bytes; a write that fails ends the run with one line naming the output.
void writeOutput(OutputFile& file, const void* data, size_t length);

/// Gives the complete file its final name (replacing any file of that name) and the
/// permissions a new file gets; a failure ends the run.
void commitOutputFile(OutputFile& file);
