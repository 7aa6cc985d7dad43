// The report, written to standard output in large pieces as it is made.
#pragma once

#include <string>

/// Text waiting to be written, and whether writing has failed.
struct ReportSink {
  std::string text;
  int fd = 1;
  int error = 0;  // errno of the first failed write; 0 while none has failed
};

/// Writes the waiting text when it has grown large, or always when `all`; after a failed
/// write the text is dropped. False once a write has failed.
bool flushSink(ReportSink& sink, bool all);
