// The report, written to standard output in large pieces as it is made.
#pragma once

#include <string>

#include "companion/system_files.h"

/// Text waiting to be written, and whether writing has failed.
struct ReportSink {
  std::string text;
  FileHandle file = standardOutput();  // where it goes; kNoFile: kept in `text` whole
  SystemError error = 0;               // the reason the first write failed; 0 while none has failed
};

/// Writes the waiting text when it has grown large, or always when `all`; after a failed
/// write the text is dropped. False once a write has failed. A sink without a file keeps
/// all its text.
bool flushSink(ReportSink& sink, bool all);
