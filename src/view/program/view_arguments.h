// The command line of boxpaint-view.
#pragma once

#include <string>

#include "view/drawing/picture_backend.h"
#include "view/layout/lay_out_slice.h"
#include "view/scene/colour_scale.h"
#include "view/slice/slice_choice.h"

/// What the output file holds, as its name's ending says.
enum class OutputKind { Grid, Picture };

/// Bounds of each side of a picture's requested size.
constexpr int kPictureSideMin = 100;
constexpr int kPictureSideMax = 8000;

/// Bounds of the vertical exaggeration that may be asked for.
constexpr double kExaggerationMin = 0.001;
constexpr double kExaggerationMax = 1000;

/// The command line, read.
struct ViewArguments {
  bool help = false;     // --help: print the help text and do nothing else
  bool version = false;  // --version: print the version and do nothing else
  const char* meshName = nullptr;
  const char* modelName = nullptr;
  const char* outputName = nullptr;
  OutputKind output = OutputKind::Grid;  // .vtr: Grid; .png, .svg, .pdf: Picture
  PictureFormat format = PictureFormat::Png;
  // For a Picture:
  SliceChoice slice;        // --slice
  ColourOptions colours;    // --log, --clim LO,HI
  std::string label;        // --label: the colour bar's name and units
  std::string units = "m";  // of the axes, in their titles: --units (those of the mesh's
                            // coordinates), or --axis-units; empty: none
  double axisScale = 1;     // axis units per unit of the mesh's coordinates (--axis-units)
  bool titleGiven = false;  // --title given: `title` replaces the title made from the names
  std::string title;        // --title; empty: none
  double exaggeration = 0;  // --exaggeration: up scale over across scale; 0: not asked for
  int width = 0;            // --size WxH; 0 x 0: the size the plot needs
  int height = 0;
  AxisRange eastingRange;    // --easting LO,HI: the coordinates shown; not given: all
  AxisRange northingRange;   // --northing LO,HI
  AxisRange elevationRange;  // --elevation LO,HI
};

/// The text that --help prints.
extern const char kViewHelpText[];

/// Reads `argv[1]` .. `argv[argc-1]`; false with a one-line `error` when they cannot
/// be used.
bool parseViewArguments(int argc, const char* const* argv, ViewArguments& arguments,
                        std::string& error);
