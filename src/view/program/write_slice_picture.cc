#include "view/program/write_slice_picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "companion/coordinate_text.h"
#include "companion/exit_status.h"
#include "model_files/split_path.h"
#include "view/drawing/picture_backend.h"
#include "view/drawing/write_png.h"
#include "view/layout/lay_out_slice.h"
#include "view/scene/colour_scale.h"
#include "view/scene/display_text.h"
#include "view/slice/slice_plane.h"

namespace {

std::string exact(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// The name of the model file a title shows: its last part, or "standard input".
std::string modelFileName(const char* modelName) {
  if (std::strcmp(modelName, "-") == 0) return "standard input";
  return displayText(splitPath(modelName).base);
}

// "model.txt: northing cell 200 of 400, 6105000 to 6105250": the cell's two nodes with
// the digits that tell them from the nodes of the cells on either side.
std::string sliceTitle(const Mesh& mesh, const char* modelName, SliceAxis axis, int32_t index) {
  const NodeAxis& nodes = sliceAxisOf(mesh, axis);
  const double step = coordinateStep(nodes.nodes, nodes.nodeCount);
  return modelFileName(modelName) + ": " + sliceAxisName(axis) + " cell " + std::to_string(index) +
         " of " + std::to_string(nodes.cellCount) + ", " +
         nodeText(nodes.nodes, nodes.nodeCount, index - 1, step) + " to " +
         nodeText(nodes.nodes, nodes.nodeCount, index, step);
}

// Refuses `text`, given as `what`, when this build cannot draw all of it.
bool drawable(const char* what, const std::string& text, std::string& error) {
  if (drawsText(text)) return true;
  error = std::string(what) + " '" + text +
          "': this boxpaint-view was built without cairo, and its own font draws ASCII, "
          "Latin-1 and the Greek letters of units only";
  return false;
}

}  // namespace

bool pictureTextsDrawable(const ViewArguments& arguments, std::string& error) {
  if (!drawable("--label", displayText(arguments.label), error) ||
      !drawable("--units", displayText(arguments.units), error)) {
    return false;
  }
  if (arguments.titleGiven) return drawable("--title", displayText(arguments.title), error);
  if (drawable("the model's name", modelFileName(arguments.modelName), error)) return true;
  error += " (give the picture a title of your own with --title)";
  return false;
}

bool pictureRangesShowTheMesh(const Mesh& mesh, const ViewArguments& arguments,
                              std::string& error) {
  const struct {
    const char* option;
    SliceAxis axis;
    const AxisRange& range;
  } ranges[] = {{"--easting", SliceAxis::Easting, arguments.eastingRange},
                {"--northing", SliceAxis::Northing, arguments.northingRange},
                {"--elevation", SliceAxis::Elevation, arguments.elevationRange}};
  for (const auto& r : ranges) {
    if (!r.range.given) continue;
    const NodeAxis& nodes = sliceAxisOf(mesh, r.axis);
    const double low = *std::min_element(nodes.nodes, nodes.nodes + nodes.nodeCount);
    const double high = *std::max_element(nodes.nodes, nodes.nodes + nodes.nodeCount);
    if (!(r.range.low < high && r.range.high > low)) {
      error = std::string(r.option) + " " + exact(r.range.low) + "," + exact(r.range.high) +
              ": the mesh's " + sliceAxisName(r.axis) + " runs from " + exact(low) + " to " +
              exact(high);
      return false;
    }
  }
  return true;
}

CompanionFailure writeSlicePicture(OutputFile& file, const Mesh& mesh, const ModelValues& model,
                                   SliceAxis axis, int32_t index, const ViewArguments& arguments) {
  const ColourScale scale = colourScaleOf(model.values.get(), model.count, arguments.colours);
  const SlicePlane plane = cutSlice(mesh, model.values.get(), axis, index);
  SliceDrawing drawing;
  drawing.title = arguments.titleGiven ? displayText(arguments.title)
                                       : sliceTitle(mesh, arguments.modelName, axis, index);
  drawing.colourLabel = displayText(arguments.label);
  drawing.units = displayText(arguments.units);
  drawing.axisScale = arguments.axisScale;
  const auto rangeOf = [&](const NodeAxis* nodes) -> const AxisRange& {
    return nodes == &mesh.easting    ? arguments.eastingRange
           : nodes == &mesh.northing ? arguments.northingRange
                                     : arguments.elevationRange;
  };
  drawing.acrossRange = rangeOf(plane.across);
  drawing.upRange = rangeOf(plane.up);
  drawing.exaggeration = arguments.exaggeration;
  drawing.width = arguments.width;
  drawing.height = arguments.height;
  drawing.metrics = pictureTextMetrics();
  PictureScene scene;
  PictureGeometry geometry;
  std::string error;
  const SliceLayout layout = layOutSlice(plane, scale, drawing, scene, geometry, error);
  if (layout == SliceLayout::TooSmall) return failureOf(kUsageStatus, "--size: " + error);
  if (layout != SliceLayout::Drawn) {
    return formattedFailure(kFailureStatus, "%s: cannot draw the slice: %s", file.finalPath.c_str(),
                            error.c_str());
  }
  if (arguments.format != PictureFormat::Png) {
    return writeVectorPicture(file, scene, arguments.format, scene.title);
  }
  const std::vector<PngText> texts = {
      {"Title", scene.title},
      {"Software", "boxpaint-view"},
      {"Plot area", std::to_string(geometry.plotLeft) + " " + std::to_string(geometry.plotTop) +
                        " " + std::to_string(geometry.plotWidth) + " " +
                        std::to_string(geometry.plotHeight)},
      {"Horizontal axis", std::string(plane.acrossName) + " " + exact(geometry.acrossLow) + " " +
                              exact(geometry.acrossHigh)},
      {"Vertical axis",
       std::string(plane.upName) + " " + exact(geometry.upLow) + " " + exact(geometry.upHigh)},
      {"Value range", scale.hasValues ? exact(scale.low) + " " + exact(scale.high) : "none"},
      {"Colour scale", scale.logarithmic ? "logarithmic" : "linear"},
  };
  RgbImage image;
  if (CompanionFailure failure = drawRasterPicture(scene, image)) return failure;
  return writePng(file, image, texts);
}
