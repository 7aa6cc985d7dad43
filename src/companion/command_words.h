// The words of a companion program's command line sorted out: a request for help or the
// version, the options with their values, and the file names. "--" ends the options, so
// that a file name may begin with '-'; "-" alone is a name (standard input).
#pragma once

#include <span>
#include <string>

/// Most file names a companion's command line takes.
constexpr int kMostFileNames = 3;

/// An option given as "--name VALUE" or "--name=VALUE", or, without an example, a flag
/// given as "--name", as often as the user likes.
struct CommandOption {
  const char* name;
  const char* example = nullptr;  // what its value looks like, for the error when it is
                                  // missing; nullptr for a flag
  const char* value = nullptr;    // the value given; a flag given holds its own name
};

/// The file names of a command line, in order.
struct FileNames {
  const char* names[kMostFileNames] = {};
  int indices[kMostFileNames] = {};  // where each stands in argv
  int count = 0;
};

/// True when a word before any "--" asks for help ("--help", "-h") or the version
/// ("--version"), which is never wrong, whatever else the line holds: the first such word
/// sets `help` or `version`.
bool asksForHelp(int argc, const char* const* argv, bool& help, bool& version);

/// Sorts `argv[1]` .. `argv[argc-1]` into `options` and `names`; false with a one-line
/// `error` for an unknown option, an option given twice or without its value, or more
/// than kMostFileNames names.
bool sortCommandWords(int argc, const char* const* argv, std::span<CommandOption> options,
                      FileNames& names, std::string& error);
