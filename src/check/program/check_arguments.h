// The command line of boxpaint-check.
#pragma once

#include <string>

#include "companion/exit_status.h"

/// The command line, read.
struct CheckArguments {
  bool help = false;     // --help: print the help text and do nothing else
  bool version = false;  // --version: print the version and do nothing else
  bool json = false;     // --json: one JSON object instead of the text report
  int meshIndex = 0;     // argv index of the mesh file name
  int blockIndex = 0;    // argv index of the block file name
  int modelIndex = 0;    // argv index of the model file name; 0: none given
};

/// The text that --help prints.
extern const char kCheckHelpText[];

/// Reads `argv[1]` .. `argv[argc-1]`; false with a one-line `error` when they cannot be
/// used. "--" ends the options, so that a file name may begin with '-'.
bool parseCheckArguments(int argc, const char* const* argv, CheckArguments& arguments,
                         std::string& error);
