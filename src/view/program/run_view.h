// The whole of boxpaint-view's work for one command line, its failure a value.
#pragma once

#include "companion/companion_failure.h"

/// Does what the command line `argv` asks: prints the help or the version, or turns a
/// mesh file and its model file into a grid file or a picture of one slice. A failure
/// says what went wrong, with kUsageStatus for a command line that cannot be used, and
/// leaves no output file.
CompanionFailure runView(int argc, const char* const* argv);
