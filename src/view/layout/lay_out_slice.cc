#include "view/layout/lay_out_slice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "view/layout/slice_axes.h"
#include "view/layout/slice_colour_bar.h"
#include "view/layout/slice_legend.h"
#include "view/layout/text_spacing.h"
#include "view/layout/title_lines.h"
#include "view/slice/slice_cells.h"

namespace {

constexpr double kTextSize = 15;    // font size of a picture of the size the plot needs
constexpr int kPlotLongMin = 720;   // that picture's plot: units along its longer side,
constexpr int kPlotLongMax = 2400;  // enough for 3 units a cell, within these bounds
constexpr int kUnitsPerCell = 3;
constexpr int kPlotShortMin = 120;         // a thinner side is stretched to this, unless a scale
                                           // was asked for
constexpr int kPlotSmallest = 48;          // a requested size must leave this much room each way
constexpr double kTrueScaleSlack = 0.005;  // an exaggeration this near 1 is true scale
constexpr int kLayoutPasses = 4;           // the surround settles in two passes; these are plenty

int units(double value) {
  return static_cast<int>(std::lround(value));
}

// What stays the same while the layout is sought.
struct Inputs {
  const SlicePlane& plane;
  const ColourScale& scale;
  const SliceDrawing& drawing;
  std::vector<LegendSwatch> swatches;
  TextSpacing s;
  AxisSpan across, up;  // in the axes' display units
  bool section = false;
};

// Units beside the plot, the outer margins included.
struct Surround {
  int left = 0, right = 0, bottom = 0;
  bool operator==(const Surround&) const = default;
};

// Where the plot goes, what lies beside it, and how large the picture is.
struct Layout {
  PictureGeometry g;
  PlotMarks marks;
  ColourBar bar;
  int width = 0;
  int height = 0;
};

Surround surroundOf(const Inputs& in, const Layout& layout) {
  const TextSpacing& s = in.s;
  return Surround{s.margin + upAxisWidth(layout.marks, s),
                  colourBarWidth(layout.bar, in.drawing.colourLabel, s) + s.margin,
                  acrossAxisHeight(layout.marks, s) + s.margin};
}

double exaggerationOf(const PictureGeometry& g) {
  return (g.plotHeight / (g.upHigh - g.upLow)) / (g.plotWidth / (g.acrossHigh - g.acrossLow));
}

// The plot's sides for a picture of the size the plot needs.
void sizePlotFreely(const Inputs& in, PictureGeometry& g) {
  const double asked = in.drawing.exaggeration;
  const double ratio = asked > 0 ? asked : 1;
  const double acrossSpan = g.acrossHigh - g.acrossLow, upSpan = g.upHigh - g.upLow;
  const int cells = std::max(in.plane.across->cellCount, in.plane.up->cellCount);
  const int longSide = std::clamp(kUnitsPerCell * cells, kPlotLongMin, kPlotLongMax);
  const double perUnit = longSide / std::max(acrossSpan, ratio * upSpan);
  g.plotWidth = std::max(1, units(acrossSpan * perUnit));
  g.plotHeight = std::max(1, units(ratio * upSpan * perUnit));
  if (asked == 0) {
    g.plotWidth = std::max(kPlotShortMin, g.plotWidth);
    g.plotHeight = std::max(kPlotShortMin, g.plotHeight);
  }
}

// The plot's sides within a room of a given size.
void sizePlotWithin(const Inputs& in, int roomWidth, int roomHeight, PictureGeometry& g) {
  const double asked = in.drawing.exaggeration;
  if (in.section && asked == 0) {
    // A section fills the room; the title says how much that stretches it.
    g.plotWidth = roomWidth;
    g.plotHeight = roomHeight;
    return;
  }
  const double ratio = asked > 0 ? asked : 1;
  const double acrossSpan = g.acrossHigh - g.acrossLow, upSpan = g.upHigh - g.upLow;
  const double perUnit = std::min(roomWidth / acrossSpan, roomHeight / (ratio * upSpan));
  g.plotWidth = std::clamp(units(acrossSpan * perUnit), 1, roomWidth);
  g.plotHeight = std::clamp(units(ratio * upSpan * perUnit), 1, roomHeight);
  if (asked == 0) {
    g.plotWidth = std::max(g.plotWidth, std::min(kPlotShortMin, roomWidth));
    g.plotHeight = std::max(g.plotHeight, std::min(kPlotShortMin, roomHeight));
  }
}

// Chooses the marks and the colour bar of the plot as sized; false when a picture of a
// given size leaves no room for three labels along some axis.
bool markPlot(const Inputs& in, bool sized, Layout& layout) {
  const PictureGeometry& g = layout.g;
  const bool sameScale = std::fabs(exaggerationOf(g) - 1) <= kTrueScaleSlack;
  layout.marks = choosePlotMarks(in.across, in.up, g.plotWidth, g.plotHeight, sameScale, 3, in.s,
                                 in.drawing.metrics);
  // A plot thinner than three labels, which only a scale asked for makes, takes fewer.
  if (!layout.marks.fit && !sized) {
    layout.marks = choosePlotMarks(in.across, in.up, g.plotWidth, g.plotHeight, sameScale, 1, in.s,
                                   in.drawing.metrics);
  }
  layout.bar = layOutColourBar(in.scale, in.swatches, g.plotHeight, in.s, in.drawing.metrics);
  return layout.marks.fit || !sized;
}

// Lays the plot and its surround out below `titleLines` lines of title `titleWidth` wide.
SliceLayout layOut(const Inputs& in, int titleLines, double titleWidth, Layout& layout,
                   std::string& error) {
  const TextSpacing& s = in.s;
  PictureGeometry& g = layout.g;
  const bool sized = in.drawing.width > 0 && in.drawing.height > 0;
  const int top = s.margin + (titleLines > 0 ? titleLines * s.line + 2 * s.gap : 0);
  // The room beside the plot depends on its labels, which depend on its size: guess, and
  // grow the guess until what the labels take fits in it.
  layout.marks = PlotMarks{};
  layout.bar = ColourBar{};
  Surround room = surroundOf(in, layout);
  bool marked = false;
  bool plotRoom = true;
  for (int pass = 0; pass < kLayoutPasses; ++pass) {
    if (sized) {
      const int roomWidth = in.drawing.width - room.left - room.right;
      const int roomHeight = in.drawing.height - top - room.bottom;
      plotRoom = roomWidth >= kPlotSmallest && roomHeight >= kPlotSmallest;
      if (!plotRoom) break;
      sizePlotWithin(in, roomWidth, roomHeight, g);
    } else {
      sizePlotFreely(in, g);
    }
    marked = markPlot(in, sized, layout);
    const Surround needed = surroundOf(in, layout);
    if (needed.left <= room.left && needed.right <= room.right && needed.bottom <= room.bottom) {
      break;
    }
    room = Surround{std::max(room.left, needed.left), std::max(room.right, needed.right),
                    std::max(room.bottom, needed.bottom)};
    marked = false;
  }
  if (sized && !marked) {
    error = "a picture of " + std::to_string(in.drawing.width) + "x" +
            std::to_string(in.drawing.height) + " leaves too little room for " +
            (plotRoom ? "three labels along each axis of the plot"
                      : "the plot beside its axes and legend");
    return SliceLayout::TooSmall;
  }
  if (sized) {
    layout.width = in.drawing.width;
    layout.height = in.drawing.height;
    // What the plot leaves goes to the margins, half on either side.
    g.plotLeft = room.left + (layout.width - room.left - room.right - g.plotWidth) / 2;
    g.plotTop = top + (layout.height - top - room.bottom - g.plotHeight) / 2;
    return SliceLayout::Drawn;
  }
  const int content = room.left + g.plotWidth + room.right;
  layout.width = std::max(content, units(2 * s.margin + titleWidth));
  layout.height = top + g.plotHeight + room.bottom;
  g.plotLeft = room.left + (layout.width - content) / 2;
  g.plotTop = top;
  return SliceLayout::Drawn;
}

// What the title says of the picture's scale when it is not true to scale.
std::string stretchNote(const SlicePlane& plane, double exaggeration) {
  if (std::fabs(exaggeration - 1) <= kTrueScaleSlack) return "";
  char note[64];
  std::snprintf(note, sizeof note, "%s exaggeration x%.3g",
                std::string_view(plane.upName) == "elevation" ? "vertical" : plane.upName,
                exaggeration);
  return note;
}

// The title of a picture: the note of its stretch, and the lines it is drawn on.
struct Title {
  std::string note;
  std::vector<std::string> lines;
};

// Lays the picture out with room for its title: the lines the title takes are known once
// the picture's width is, and its note once the plot is laid out, so it is laid out again
// until the room it left them is enough.
SliceLayout layOutWithTitle(const Inputs& in, Layout& layout, Title& title, std::string& error) {
  const SliceDrawing& drawing = in.drawing;
  const bool sized = drawing.width > 0 && drawing.height > 0;
  const double size = in.s.size;
  const PictureGeometry extents = layout.g;
  int lineCount = drawing.title.empty() ? 0 : 1;
  double width = drawing.metrics.width(drawing.title, size);
  for (int pass = 0; pass < kLayoutPasses; ++pass) {
    layout = Layout{};
    layout.g = extents;
    const SliceLayout result = layOut(in, lineCount, width, layout, error);
    if (result != SliceLayout::Drawn) return result;
    PictureGeometry& g = layout.g;
    g.exaggeration = exaggerationOf(g);
    // An exaggeration asked for is the one drawn, but for the rounding of the plot's sides
    // to whole units, which may be large on a thin plot.
    title.note =
        stretchNote(in.plane, drawing.exaggeration > 0 ? drawing.exaggeration : g.exaggeration);
    // A picture of the size the plot needs is as wide as its title on one line.
    const double oneLine = drawing.metrics.width(titleText(drawing.title, title.note), size);
    const double room = sized ? layout.width - 2.0 * in.s.margin : oneLine;
    title.lines = titleLines(drawing.title, title.note, room, size, drawing.metrics);
    const double widthNeeded = sized ? width : oneLine;
    if (static_cast<int>(title.lines.size()) <= lineCount && widthNeeded <= width + 0.5) break;
    lineCount = std::max(lineCount, static_cast<int>(title.lines.size()));
    width = std::max(width, widthNeeded);
  }
  return SliceLayout::Drawn;
}

// Adds each line of the title over the middle of the plot, within the margins.
void addTitle(const std::vector<std::string>& lines, const PictureGeometry& g, int width,
              const TextSpacing& s, const TextMetrics& metrics, PictureScene& scene) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const double half = metrics.width(lines[i], s.size) / 2;
    const double line = g.plotTop - 2 * s.gap - (lines.size() - i - 0.5) * s.line;
    addText(scene,
            std::clamp(g.plotLeft + g.plotWidth / 2.0, s.margin + half, width - s.margin - half),
            line, lines[i], s.size, TextAlign::Centre);
  }
}

}  // namespace

bool shownExtent(const NodeAxis& axis, const char* name, const AxisRange& range, double& low,
                 double& high, std::string& error) {
  low = *std::min_element(axis.nodes, axis.nodes + axis.nodeCount);
  high = *std::max_element(axis.nodes, axis.nodes + axis.nodeCount);
  for (int32_t k = 0; k < axis.nodeCount; ++k) {
    if (!std::isfinite(axis.nodes[k])) {
      error = std::string("the ") + name + " nodes are not all finite numbers";
      return false;
    }
  }
  if (!(high > low)) {
    error = std::string("the mesh has no extent along ") + name;
    return false;
  }
  if (range.given) {
    low = std::max(low, range.low);
    high = std::min(high, range.high);
    if (!(high > low)) {
      error = std::string("the ") + name + " range leaves nothing of the mesh to show";
      return false;
    }
  }
  return true;
}

SliceLayout layOutSlice(const SlicePlane& plane, const ColourScale& scale,
                        const SliceDrawing& drawing, PictureScene& scene, PictureGeometry& geometry,
                        std::string& error) {
  Layout layout;
  PictureGeometry& g = layout.g;
  geometry = PictureGeometry{};
  if (!shownExtent(*plane.across, plane.acrossName, drawing.acrossRange, g.acrossLow, g.acrossHigh,
                   error) ||
      !shownExtent(*plane.up, plane.upName, drawing.upRange, g.upLow, g.upHigh, error)) {
    return SliceLayout::NoExtent;
  }
  const bool sized = drawing.width > 0 && drawing.height > 0;
  // A picture of a given size gets text in proportion, so that it reads alike at any size.
  const double size =
      sized ? std::clamp(std::sqrt(static_cast<double>(drawing.width) * drawing.height) / 50, 10.0,
                         72.0)
            : kTextSize;
  const double toAxis = drawing.axisScale;
  const Inputs in{plane,
                  scale,
                  drawing,
                  legendSwatches(scale, shownCellValues(plane, g)),
                  textSpacing(size, drawing.metrics),
                  AxisSpan{g.acrossLow * toAxis, g.acrossHigh * toAxis},
                  AxisSpan{g.upLow * toAxis, g.upHigh * toAxis},
                  std::string_view(plane.upName) == "elevation"};
  const TextSpacing& s = in.s;

  // The title's note of the stretch is known once the plot is laid out.
  Title title;
  const SliceLayout result = layOutWithTitle(in, layout, title, error);
  if (result != SliceLayout::Drawn) return result;
  scene = PictureScene{};
  scene.width = layout.width;
  scene.height = layout.height;
  scene.title = titleText(drawing.title, title.note);
  addTitle(title.lines, g, layout.width, s, drawing.metrics, scene);
  addSliceCells(plane, scale, g, scene);
  addFrame(scene, g.plotLeft, g.plotTop, g.plotLeft + g.plotWidth, g.plotTop + g.plotHeight);
  addPlotAxes(layout.marks, in.across, in.up, g, axisTitle(plane.acrossName, drawing.units),
              axisTitle(plane.upName, drawing.units), s, drawing.metrics, scene);
  addColourBar(layout.bar, scale, drawing.colourLabel, g, s, scene);
  geometry = g;
  return SliceLayout::Drawn;
}
