#include "check/check_arguments.h"

#include <string_view>

const char kCheckHelpText[] =
    "Usage:\n"
    "  boxpaint-check MESH BLOCKS [--json]\n"
    "  boxpaint-check --help | --version\n"
    "\n"
    "Explains what the block file BLOCKS does on the mesh of MESH, reading both files\n"
    "exactly as boxpaint reads them. It prints a summary of the mesh, one row per block\n"
    "(its bounds as read, the cells it paints, how many it paints and how many still show\n"
    "its value in the finished model), warnings for blocks that paint nothing, lie outside\n"
    "the mesh, are hidden by later blocks, lie above the top of the mesh or have a bound\n"
    "that moves by more than half a cell when snapped, and the number of cells left at\n"
    "the background value.\n"
    "\n"
    "  --json   print one JSON object instead of the text report\n"
    "  --       ends the options: a later argument that begins with '-' is a file name\n"
    "\n"
    "When a file cannot be opened or holds something boxpaint refuses, it says where\n"
    "reading stopped (file, line, the text there and boxpaint's message) and ends with\n"
    "status 1. A command line that cannot be used ends with status 2. Warnings do not\n"
    "change the status: 0 means both files were read.\n";

bool parseCheckArguments(int argc, const char* const* argv, CheckArguments& arguments,
                         std::string& error) {
  // Asking for help is never wrong, whatever else the line holds.
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") break;
    if (argument == "--help" || argument == "-h") {
      arguments.help = true;
      return true;
    }
    if (argument == "--version") {
      arguments.version = true;
      return true;
    }
  }
  int names[2] = {};
  int nameCount = 0;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && argument == "--json") {
      arguments.json = true;
      continue;
    }
    if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
      error = "unknown option " + std::string(argument) + " (see --help)";
      return false;
    }
    if (nameCount == 2) {
      error = "too many file names: " + std::string(argument) + " (see --help)";
      return false;
    }
    names[nameCount++] = i;
  }
  if (nameCount < 2) {
    error = "expected MESH BLOCKS (see --help)";
    return false;
  }
  arguments.meshIndex = names[0];
  arguments.blockIndex = names[1];
  return true;
}
