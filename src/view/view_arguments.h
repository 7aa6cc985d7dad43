// The command line of boxpaint-view.
#pragma once

#include <string>

#include "view/slice_choice.h"

/// What the output file holds, as its name's ending says.
enum class OutputKind { Grid, Picture };

/// The command line, read.
struct ViewArguments {
  bool help = false;     // --help: print the help text and do nothing else
  bool version = false;  // --version: print the version and do nothing else
  const char* meshName = nullptr;
  const char* modelName = nullptr;
  const char* outputName = nullptr;
  OutputKind output = OutputKind::Grid;  // .vtr: Grid; .png: Picture
  SliceChoice slice;                     // for a Picture
};

/// The text that --help prints.
extern const char kViewHelpText[];

/// Reads `argv[1]` .. `argv[argc-1]`; false with a one-line `error` when they cannot
/// be used.
bool parseViewArguments(int argc, const char* const* argv, ViewArguments& arguments,
                        std::string& error);
