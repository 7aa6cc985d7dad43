#include "check/check_arguments.h"

#include <string_view>

const char kCheckHelpText[] =
    "Usage:\n"
    "  boxpaint-check MESH BLOCKS [MODEL] [--json]\n"
    "  boxpaint-check --help | --version\n"
    "\n"
    "Explains what the block file BLOCKS does on the mesh of MESH, reading both files\n"
    "exactly as boxpaint reads them. It prints a summary of the mesh, one row per block\n"
    "(the line it starts on, its bounds as read, the cells it paints, how many it paints\n"
    "and how many still show its value in the finished model), and the number of cells\n"
    "left at the background value, with warnings, each naming its line: for a mesh\n"
    "without cells or with cells of zero or negative width, and for blocks that read on\n"
    "into the next line, paint nothing, lie outside the mesh, lie above its top, look\n"
    "like depths typed as elevations, are hidden by later blocks or have a bound that\n"
    "moves by more than half a cell when snapped. Given the MODEL name you mean to give\n"
    "boxpaint, it also warns when that would write over MESH or BLOCKS.\n"
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
  int names[3] = {};
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
    if (nameCount == 3) {
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
  arguments.modelIndex = names[2];
  return true;
}
