#include "view/program/view_arguments.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "companion/command_words.h"

const char kViewHelpText[] =
    "Usage:\n"
    "  boxpaint-view MESH MODEL OUT.vtr\n"
    "  boxpaint-view MESH MODEL OUT.png --slice SLICE [picture options]\n"
    "  boxpaint-view --help | --version\n"
    "\n"
    "Reads MESH, a boxpaint mesh file, and MODEL, the model file boxpaint wrote for it\n"
    "(one value per line, elevation index fastest, then easting, then northing), in one\n"
    "pass: MODEL may be a pipe, or - for standard input. Each of its records must be one\n"
    "number, at any width, and its line end. \"--\" ends the options.\n"
    "\n"
    "OUT.vtr  a VTK XML rectilinear grid for ParaView: x is easting, y northing, z\n"
    "         elevation, each with the mesh's node coordinates in rising order (the\n"
    "         top of the mesh last), and one cell array named \"value\".\n"
    "OUT.png  a picture of one slice of the model, each cell drawn to the scale of the\n"
    "         mesh, with a colour bar and axes in mesh coordinates.\n"
    "OUT.svg, OUT.pdf\n"
    "         the same picture as a vector drawing (in a build with cairo).\n"
    "\n"
    "SLICE is one of:\n"
    "  z=K    elevation cell K (1 is the top): a plan view, easting across, northing up\n"
    "  e=J    easting cell J: a section, northing across, elevation up\n"
    "  n=K    northing cell K: a section, easting across, elevation up\n"
    "  z@C, e@C, n@C\n"
    "         the cell that holds coordinate C; a coordinate on the node between two\n"
    "         cells picks the one with the smaller index\n"
    "\n"
    "Picture options:\n"
    "  --log         a logarithmic colour scale; cells at or below 0 take the \"under\"\n"
    "                colour (pink)\n"
    "  --clim LO,HI  colours from LO to HI; cells below LO take the \"under\" colour\n"
    "                (pink), cells above HI the \"over\" colour (red)\n"
    "  --label TEXT  the name and units of the values, beside the colour bar\n"
    "  --units TEXT  the units the mesh's coordinates are in, for the axis titles\n"
    "                (default m); it names them and converts nothing\n"
    "  --axis-units U\n"
    "                the axes in U (m or km), converted from --units (m or km):\n"
    "                --axis-units km draws a mesh in metres in kilometres\n"
    "  --easting LO,HI, --northing LO,HI, --elevation LO,HI\n"
    "                only that part of the slice, in the mesh's coordinates\n"
    "                (default: all of it); colours still span the whole model\n"
    "  --title TEXT  the title, in place of the model's name and the slice's place\n"
    "  --exaggeration X\n"
    "                the scale up the picture over the scale across it: 1 is true\n"
    "                scale. Without it a plan view is true to scale and a section of\n"
    "                a given --size fills it; the title says how much it is stretched.\n"
    "  --size WxH    the picture's size in pixels (points for .svg and .pdf),\n"
    "                each side 100 to 8000; text grows with it. By default the\n"
    "                plot is 720 pixels along its longer side (3 a cell past 240\n"
    "                cells, at most 2400) and the picture as large as it needs.\n"
    "\n"
    "Colours run from dark blue (the smallest finite value of the model, or LO)\n"
    "to yellow (the largest, or HI); without --clim, infinities take the colour\n"
    "of the end they lie beyond. NaN cells are grey. The legend shows each colour\n"
    "beyond the ramp that the slice uses.\n"
    "\n"
    "An error prints one line on standard error, leaves no output file, and ends with\n"
    "status 2 for a command line that cannot be used and 1 for anything else.\n";

namespace {

// Whether `text` ends in `ending` (lower case), in either case, after at least one byte.
bool endsWith(const char* text, const char* ending) {
  const size_t length = std::strlen(text);
  const size_t endingLength = std::strlen(ending);
  if (length <= endingLength) return false;
  for (size_t i = 0; i < endingLength; ++i) {
    const char c = text[length - endingLength + i];
    if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != ending[i]) return false;
  }
  return true;
}

// Reads "LO,HI": two finite numbers, LO below HI.
bool parsePair(const char* text, double& low, double& high) {
  const char* end = text + std::strlen(text);
  const char* comma = std::strchr(text, ',');
  if (comma == nullptr) return false;
  const auto lowRead = std::from_chars(text, comma, low);
  const auto highRead = std::from_chars(comma + 1, end, high);
  return lowRead.ec == std::errc() && lowRead.ptr == comma && highRead.ec == std::errc() &&
         highRead.ptr == end && std::isfinite(low) && std::isfinite(high) && low < high;
}

// Reads "WxH": two whole numbers within the bounds of a side.
bool parseSize(const char* text, int& width, int& height) {
  const char* end = text + std::strlen(text);
  const char* by = std::strpbrk(text, "xX");
  if (by == nullptr) return false;
  const auto w = std::from_chars(text, by, width);
  const auto h = std::from_chars(by + 1, end, height);
  const auto inBounds = [](int side) { return side >= kPictureSideMin && side <= kPictureSideMax; };
  return w.ec == std::errc() && w.ptr == by && h.ec == std::errc() && h.ptr == end &&
         inBounds(width) && inBounds(height);
}

// Reads the vertical exaggeration: a number within its bounds.
bool parseExaggeration(const char* text, double& value) {
  const char* end = text + std::strlen(text);
  const auto read = std::from_chars(text, end, value);
  return read.ec == std::errc() && read.ptr == end && value >= kExaggerationMin &&
         value <= kExaggerationMax;
}

// Metres in one of the length units the axes convert between; 0 for any other text.
double metresIn(const std::string& units) {
  if (units == "m") return 1;
  if (units == "km") return 1000;
  return 0;
}

std::string formatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// The options, by their place in the table of `Words`.
enum OptionIndex {
  kSlice,
  kLog,
  kClim,
  kLabel,
  kSize,
  kUnits,
  kAxisUnits,
  kTitle,
  kExaggeration,
  kEasting,
  kNorthing,
  kElevation,
  kOptionCount
};

// The words of a command line sorted out: the file names and the options.
struct Words {
  FileNames names;
  CommandOption options[kOptionCount] = {{"--slice", "a slice such as z=1"},
                                         {"--log"},
                                         {"--clim", "LO,HI such as 0.01,1000"},
                                         {"--label", "a text such as 'resistivity (ohm m)'"},
                                         {"--size", "WxH such as 1200x900"},
                                         {"--units", "a text such as km"},
                                         {"--axis-units", "m or km"},
                                         {"--title", "a text"},
                                         {"--exaggeration", "a number such as 2"},
                                         {"--easting", "LO,HI such as 500000,501000"},
                                         {"--northing", "LO,HI such as 6105000,6106000"},
                                         {"--elevation", "LO,HI such as -500,200"}};
  bool logarithmic() const { return options[kLog].value != nullptr; }
};

// The names, and the kind of output the output name's ending asks for.
bool readNames(const Words& words, ViewArguments& arguments, std::string& error) {
  if (words.names.count < 3) {
    error = "expected MESH MODEL OUTPUT (see --help)";
    return false;
  }
  arguments.meshName = words.names.names[0];
  arguments.modelName = words.names.names[1];
  arguments.outputName = words.names.names[2];
  arguments.output = OutputKind::Picture;
  if (endsWith(arguments.outputName, ".vtr")) {
    arguments.output = OutputKind::Grid;
  } else if (endsWith(arguments.outputName, ".png")) {
    arguments.format = PictureFormat::Png;
  } else if (endsWith(arguments.outputName, ".svg")) {
    arguments.format = PictureFormat::Svg;
  } else if (endsWith(arguments.outputName, ".pdf")) {
    arguments.format = PictureFormat::Pdf;
  } else {
    error = std::string(arguments.outputName) +
            ": the output name must end in .vtr, .png, .svg or .pdf";
    return false;
  }
  return true;
}

// A grid holds the whole model: no option of a picture belongs with it.
bool checkGridOptions(const Words& words, std::string& error) {
  const char* given = words.options[kSlice].value != nullptr ? "--slice"
                      : words.logarithmic()                  ? "--log"
                                                             : nullptr;
  for (int k = kClim; given == nullptr && k < kOptionCount; ++k) {
    if (words.options[k].value != nullptr) given = words.options[k].name;
  }
  if (given == nullptr) return true;
  error = std::string(given) +
          " is for a .png, .svg or .pdf picture; a .vtr grid holds the whole model";
  return false;
}

// The range of coordinates a picture is to show along one axis.
bool readRange(const CommandOption& option, SliceAxis axis, const SliceChoice& slice,
               AxisRange& range, std::string& error) {
  if (option.value == nullptr) return true;
  if (axis == slice.axis) {
    error = std::string(option.name) + ": a slice across " + sliceAxisName(axis) +
            " shows no range of " + sliceAxisName(axis) + " (see --help)";
    return false;
  }
  range.given = true;
  if (!parsePair(option.value, range.low, range.high)) {
    error = std::string(option.name) + " " + option.value +
            ": expected LO,HI, two coordinates of the mesh, LO below HI";
    return false;
  }
  return true;
}

// The units of the axes: those the mesh's coordinates are in, or others they convert to.
bool readUnits(const Words& words, ViewArguments& arguments, std::string& error) {
  if (words.options[kUnits].value != nullptr) arguments.units = words.options[kUnits].value;
  const char* shown = words.options[kAxisUnits].value;
  if (shown == nullptr) return true;
  const double meshMetres = metresIn(arguments.units);
  const double shownMetres = metresIn(shown);
  if (shownMetres == 0) {
    error = "--axis-units " + std::string(shown) + ": expected m or km";
    return false;
  }
  if (meshMetres == 0) {
    error = "--axis-units " + std::string(shown) + ": the mesh's units (--units '" +
            arguments.units + "') are not m or km, so they cannot be converted";
    return false;
  }
  arguments.axisScale = meshMetres / shownMetres;
  arguments.units = shown;
  return true;
}

// The options of a picture.
bool readPictureOptions(const Words& words, ViewArguments& arguments, std::string& error) {
  const char* slice = words.options[kSlice].value;
  if (slice == nullptr) {
    error = "a picture needs --slice (see --help)";
    return false;
  }
  if (!parseSliceChoice(slice, arguments.slice)) {
    error = "--slice " + std::string(slice) + ": expected z=K, e=J, n=K, z@C, e@C or n@C";
    return false;
  }
  arguments.colours.logarithmic = words.logarithmic();
  if (const char* limits = words.options[kClim].value) {
    arguments.colours.limited = true;
    if (!parsePair(limits, arguments.colours.low, arguments.colours.high)) {
      error = "--clim " + std::string(limits) + ": expected LO,HI, two numbers, LO below HI";
      return false;
    }
    if (words.logarithmic() && !(arguments.colours.low > 0)) {
      error = "--clim " + std::string(limits) + ": a logarithmic scale needs LO above 0";
      return false;
    }
  }
  if (const char* label = words.options[kLabel].value) arguments.label = label;
  if (const char* title = words.options[kTitle].value) {
    arguments.titleGiven = true;
    arguments.title = title;
  }
  if (!readUnits(words, arguments, error)) return false;
  const char* exaggeration = words.options[kExaggeration].value;
  if (exaggeration != nullptr && !parseExaggeration(exaggeration, arguments.exaggeration)) {
    error = "--exaggeration " + std::string(exaggeration) + ": expected a number from " +
            formatNumber(kExaggerationMin) + " to " + formatNumber(kExaggerationMax) +
            " (1 is true scale)";
    return false;
  }
  const char* size = words.options[kSize].value;
  if (size != nullptr && !parseSize(size, arguments.width, arguments.height)) {
    error = "--size " + std::string(size) + ": expected WxH, each side a whole number from " +
            std::to_string(kPictureSideMin) + " to " + std::to_string(kPictureSideMax);
    return false;
  }
  return readRange(words.options[kEasting], SliceAxis::Easting, arguments.slice,
                   arguments.eastingRange, error) &&
         readRange(words.options[kNorthing], SliceAxis::Northing, arguments.slice,
                   arguments.northingRange, error) &&
         readRange(words.options[kElevation], SliceAxis::Elevation, arguments.slice,
                   arguments.elevationRange, error);
}

}  // namespace

bool parseViewArguments(int argc, const char* const* argv, ViewArguments& arguments,
                        std::string& error) {
  if (asksForHelp(argc, argv, arguments.help, arguments.version)) return true;
  Words words;
  if (!sortCommandWords(argc, argv, words.options, words.names, error) ||
      !readNames(words, arguments, error)) {
    return false;
  }
  if (arguments.output == OutputKind::Grid) return checkGridOptions(words, error);
  return readPictureOptions(words, arguments, error);
}
