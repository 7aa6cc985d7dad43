// The command line of boxpaint-check.
#pragma once

#include <string>

/// Exit status for a command line that cannot be used.
constexpr int kUsageStatus = 2;

/// Exit status when reading stopped (a file cannot be opened or holds what boxpaint
/// refuses), the run was interrupted, or the report cannot be written.
constexpr int kFailureStatus = 1;

/// The command line, read.
struct CheckArguments {
  bool help = false;     // --help: print the help text and do nothing else
  bool version = false;  // --version: print the version and do nothing else
  bool json = false;     // --json: one JSON object instead of the text report
  int meshIndex = 0;     // argv index of the mesh file name
  int blockIndex = 0;    // argv index of the block file name
};

/// The text that --help prints.
extern const char kCheckHelpText[];

/// Reads `argv[1]` .. `argv[argc-1]`; false with a one-line `error` when they cannot be
/// used. "--" ends the options, so that a file name may begin with '-'.
bool parseCheckArguments(int argc, const char* const* argv, CheckArguments& arguments,
                         std::string& error);
