#include "check/program/check_arguments.h"

#include "companion/command_words.h"

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
  if (asksForHelp(argc, argv, arguments.help, arguments.version)) return true;
  CommandOption json[] = {{"--json"}};
  FileNames names;
  if (!sortCommandWords(argc, argv, json, names, error)) return false;
  if (names.count < 2) {
    error = "expected MESH BLOCKS (see --help)";
    return false;
  }
  arguments.json = json[0].value != nullptr;
  arguments.meshIndex = names.indices[0];
  arguments.blockIndex = names.indices[1];
  arguments.modelIndex = names.indices[2];
  return true;
}
