#include "view/write_slice_picture.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "companion/coordinate_text.h"
#include "view/colour_scale.h"
#include "view/display_text.h"
#include "view/picture_backend.h"
#include "view/render_slice.h"
#include "view/slice_plane.h"
#include "view/view_failure.h"
#include "view/write_png.h"

namespace {

std::string exact(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// "model.txt: northing cell 200 of 400, 6105000 to 6105250": the cell's two nodes with
// the digits that tell them from the nodes of the cells on either side.
std::string sliceTitle(const Mesh& mesh, const char* modelName, SliceAxis axis, int32_t index) {
  const char* slash = std::strrchr(modelName, '/');
  const NodeAxis& nodes = sliceAxisOf(mesh, axis);
  const double step = coordinateStep(nodes.nodes, nodes.nodeCount);
  return displayText(slash != nullptr ? slash + 1 : modelName) + ": " + sliceAxisName(axis) +
         " cell " + std::to_string(index) + " of " + std::to_string(nodes.cellCount) + ", " +
         nodeText(nodes.nodes, nodes.nodeCount, index - 1, step) + " to " +
         nodeText(nodes.nodes, nodes.nodeCount, index, step);
}

}  // namespace

void writeSlicePicture(OutputFile& file, const Mesh& mesh, const ModelValues& model, SliceAxis axis,
                       int32_t index, const ViewArguments& arguments) {
  const ColourScale scale = colourScaleOf(model.values.get(), model.count, arguments.colours);
  const SlicePlane plane = cutSlice(mesh, model.values.get(), axis, index);
  SliceDrawing drawing;
  drawing.title = sliceTitle(mesh, arguments.modelName, axis, index);
  drawing.colourLabel = displayText(arguments.label);
  drawing.width = arguments.width;
  drawing.height = arguments.height;
  drawing.metrics = pictureTextMetrics();
  PictureScene scene;
  PictureGeometry geometry;
  std::string error;
  const SliceLayout layout = renderSlice(plane, scale, drawing, scene, geometry, error);
  if (layout == SliceLayout::TooSmall) failView(kUsageStatus, "--size: %s", error.c_str());
  if (layout != SliceLayout::Drawn) {
    failView(kFailureStatus, "%s: cannot draw the slice: %s", file.finalPath.c_str(),
             error.c_str());
  }
  // The exaggeration is known only once the plot is laid out; a stretched picture
  // is laid out again with a title that says so.
  if (std::fabs(geometry.exaggeration - 1) > 0.005) {
    char note[64];
    std::snprintf(note, sizeof note, " (vertical exaggeration x%.3g)", geometry.exaggeration);
    drawing.title += note;
    renderSlice(plane, scale, drawing, scene, geometry, error);
  }
  if (arguments.format != PictureFormat::Png) {
    writeVectorPicture(file, scene, arguments.format, drawing.title);
    return;
  }
  const std::vector<PngText> texts = {
      {"Title", drawing.title},
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
  writePng(file, drawRasterPicture(scene), texts);
}
