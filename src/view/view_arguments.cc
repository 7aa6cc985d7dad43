#include "view/view_arguments.h"

#include <strings.h>

#include <cstring>

const char kViewHelpText[] =
    "Usage:\n"
    "  boxpaint-view MESH MODEL OUT.vtr\n"
    "  boxpaint-view MESH MODEL OUT.png --slice SLICE\n"
    "  boxpaint-view --help | --version\n"
    "\n"
    "Reads MESH, a boxpaint mesh file, and MODEL, the model file boxpaint wrote for it\n"
    "(one value per line, elevation index fastest, then easting, then northing).\n"
    "\n"
    "OUT.vtr  a VTK XML rectilinear grid for ParaView: x is easting, y northing, z\n"
    "         elevation, each with the mesh's node coordinates in rising order (the\n"
    "         top of the mesh last), and one cell array named \"value\".\n"
    "OUT.png  a picture of one slice of the model, each cell drawn to the scale of the\n"
    "         mesh, with a colour scale and axes in mesh coordinates.\n"
    "\n"
    "SLICE is one of:\n"
    "  z=K    elevation cell K (1 is the top): a plan view, easting across, northing up\n"
    "  e=J    easting cell J: a section, northing across, elevation up\n"
    "  n=K    northing cell K: a section, easting across, elevation up\n"
    "  z@C, e@C, n@C\n"
    "         the cell that holds coordinate C; a coordinate on the node between two\n"
    "         cells picks the one with the smaller index\n"
    "\n"
    "Colours run from dark blue (the smallest finite value of the model) to yellow\n"
    "(the largest); infinities take the colour of the end they lie beyond, NaN cells\n"
    "are grey.\n"
    "\n"
    "An error prints one line on standard error, leaves no output file, and ends with\n"
    "status 2 for a command line that cannot be used and 1 for anything else.\n";

namespace {

bool endsWith(const char* text, const char* ending) {
  const size_t length = std::strlen(text);
  const size_t endingLength = std::strlen(ending);
  return length > endingLength && strcasecmp(text + length - endingLength, ending) == 0;
}

}  // namespace

bool parseViewArguments(int argc, const char* const* argv, ViewArguments& arguments,
                        std::string& error) {
  const char* names[3] = {};
  int nameCount = 0;
  const char* slice = nullptr;
  // Asking for help is never wrong, whatever else the line holds.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      arguments.help = true;
      return true;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      arguments.version = true;
      return true;
    }
  }
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--slice" || argument.starts_with("--slice=")) {
      if (slice != nullptr) {
        error = "--slice given twice";
        return false;
      }
      if (argument == "--slice") {
        if (i + 1 == argc) {
          error = "--slice needs a slice such as z=1 (see --help)";
          return false;
        }
        slice = argv[++i];
      } else {
        slice = argv[i] + std::strlen("--slice=");
      }
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-') {
      error = "unknown option " + argument + " (see --help)";
      return false;
    }
    if (nameCount == 3) {
      error = "too many file names: " + argument + " (see --help)";
      return false;
    }
    names[nameCount++] = argv[i];
  }
  if (nameCount < 3) {
    error = "expected MESH MODEL OUTPUT (see --help)";
    return false;
  }
  arguments.meshName = names[0];
  arguments.modelName = names[1];
  arguments.outputName = names[2];
  if (endsWith(arguments.outputName, ".vtr")) {
    arguments.output = OutputKind::Grid;
  } else if (endsWith(arguments.outputName, ".png")) {
    arguments.output = OutputKind::Picture;
  } else {
    error = std::string(arguments.outputName) + ": the output name must end in .vtr or .png";
    return false;
  }
  if (arguments.output == OutputKind::Grid && slice != nullptr) {
    error = "--slice is for a .png picture; a .vtr grid holds the whole model";
    return false;
  }
  if (arguments.output == OutputKind::Picture) {
    if (slice == nullptr) {
      error = "a .png picture needs --slice (see --help)";
      return false;
    }
    if (!parseSliceChoice(slice, arguments.slice)) {
      error = "--slice " + std::string(slice) + ": expected z=K, e=J, n=K, z@C, e@C or n@C";
      return false;
    }
  }
  return true;
}
