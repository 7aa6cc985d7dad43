#include "view/write_slice_picture.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "view/axis_ticks.h"
#include "view/colour_scale.h"
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

std::string sliceTitle(const Mesh& mesh, const char* modelName, SliceAxis axis, int32_t index) {
  const char* slash = std::strrchr(modelName, '/');
  const NodeAxis& nodes = sliceAxisOf(mesh, axis);
  return std::string(slash != nullptr ? slash + 1 : modelName) + ": " + sliceAxisName(axis) +
         " cell " + std::to_string(index) + " of " + std::to_string(nodes.cellCount) + ", " +
         formatValue(nodes.nodes[index - 1]) + " to " + formatValue(nodes.nodes[index]);
}

}  // namespace

void writeSlicePicture(OutputFile& file, const Mesh& mesh, const ModelValues& model, SliceAxis axis,
                       int32_t index, const char* modelName) {
  const ColourScale scale = colourScaleOf(model.values.get(), model.count);
  const SlicePlane plane = cutSlice(mesh, model.values.get(), axis, index);
  std::string title = sliceTitle(mesh, modelName, axis, index);
  RgbImage image;
  PictureGeometry geometry;
  std::string error;
  // The exaggeration is known only once the plot is laid out; a stretched picture
  // is drawn again with a title that says so.
  if (!renderSlice(plane, scale, title, image, geometry, error)) {
    failView(kFailureStatus, "%s: cannot draw the slice: %s", file.finalPath.c_str(),
             error.c_str());
  }
  if (std::fabs(geometry.exaggeration - 1) > 0.005) {
    char note[64];
    std::snprintf(note, sizeof note, " (vertical exaggeration x%.3g)", geometry.exaggeration);
    title += note;
    renderSlice(plane, scale, title, image, geometry, error);
  }
  const std::vector<PngText> texts = {
      {"Title", title},
      {"Software", "boxpaint-view"},
      {"Plot area", std::to_string(geometry.plotLeft) + " " + std::to_string(geometry.plotTop) +
                        " " + std::to_string(geometry.plotWidth) + " " +
                        std::to_string(geometry.plotHeight)},
      {"Horizontal axis", std::string(plane.acrossName) + " " + exact(geometry.acrossLow) + " " +
                              exact(geometry.acrossHigh)},
      {"Vertical axis",
       std::string(plane.upName) + " " + exact(geometry.upLow) + " " + exact(geometry.upHigh)},
      {"Value range", scale.hasValues ? exact(scale.low) + " " + exact(scale.high) : "none"},
  };
  writePng(file, image, texts);
}
