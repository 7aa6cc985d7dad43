// The whole of boxpaint-check's work, its failure a value: for one command line, or for
// the files a library's caller names.
#pragma once

#include <optional>
#include <string>

#include "check/report/report_sink.h"
#include "companion/companion_failure.h"

/// The files a check is asked about, each named as boxpaint would be given it.
struct CheckRequest {
  std::string mesh;
  std::string blocks;
  std::optional<std::string> model;  // the model file name a run would be given, if any
  bool json = false;                 // the report as one JSON object rather than text
};

/// Reads the mesh and the block file of `request` exactly as boxpaint reads them and
/// writes the report into `sink`. A file that cannot be opened or holds what boxpaint
/// refuses is a failure saying where reading stopped and what boxpaint says there (with
/// the JSON error object when `request.json`); so is a report that cannot be written.
CompanionFailure checkFiles(const CheckRequest& request, ReportSink& sink);

/// Does what the command line `argv` asks: prints the help or the version, or the report
/// on standard output. A failure says what went wrong, with kUsageStatus for a command
/// line that cannot be used.
CompanionFailure runCheck(int argc, const char* const* argv);
