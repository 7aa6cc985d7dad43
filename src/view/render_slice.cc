#include "view/render_slice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "view/axis_ticks.h"
#include "view/slice_cells.h"
#include "view/slice_legend.h"

namespace {

constexpr Rgb kInk{0, 0, 0};
constexpr double kTextSize = 15;    // font size of a picture of the size the plot needs
constexpr int kPlotLongMin = 720;   // that picture's plot: units along its longer side,
constexpr int kPlotLongMax = 2400;  // enough for 3 units a cell, within these bounds
constexpr int kUnitsPerCell = 3;
constexpr int kPlotShortMin = 120;         // a thinner side is stretched to this, unless a scale
                                           // was asked for
constexpr int kPlotSmallest = 48;          // a requested size must leave this much room each way
constexpr double kTrueScaleSlack = 0.005;  // an exaggeration this near 1 is true scale

// Distances that go with a font size, in whole picture units.
struct Spacing {
  double size = 0;
  int cap = 0, gap = 0, tick = 0, margin = 0, line = 0, bar = 0, swatch = 0;
};

Spacing spacingFor(double size, const TextMetrics& metrics) {
  Spacing s;
  s.size = size;
  s.cap = static_cast<int>(std::lround(metrics.capHeight * size));
  s.gap = std::max(2, static_cast<int>(std::lround(size * 0.4)));
  s.tick = s.gap;
  s.margin = static_cast<int>(std::lround(size));
  s.line = s.cap + 2 * s.gap;
  s.bar = static_cast<int>(std::lround(size * 1.6));
  s.swatch = s.cap + s.gap;
  return s;
}

bool axisExtent(const NodeAxis& axis, const char* name, double& low, double& high,
                std::string& error) {
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
  return true;
}

// "Easting (m)": the axis's name, capitalised, and the units of the coordinates.
std::string axisTitle(const char* name, const std::string& units) {
  std::string title = name;
  if (!title.empty()) title[0] = static_cast<char>(title[0] - 'a' + 'A');
  if (!units.empty()) title.append(" (").append(units).append(")");
  return title;
}

// Ticks and their texts for an axis `length` units long, as many as fit with room between
// labels that take `labelRoom(widest)` units each.
struct Ticks {
  std::vector<double> values;
  std::vector<std::string> labels;
  double widest = 0;
};

template <typename Room>
Ticks fittingTicks(double low, double high, int length, int unitsPerTick, const Spacing& s,
                   const TextMetrics& metrics, Room labelRoom) {
  Ticks ticks;
  for (int count = std::max(2, length / unitsPerTick); count >= 1; --count) {
    double step = 0;
    ticks.values = niceTicks(low, high, count, step);
    ticks.labels = tickTexts(ticks.values, step);
    ticks.widest = 0;
    for (const std::string& label : ticks.labels) {
      ticks.widest = std::max(ticks.widest, metrics.width(label, s.size));
    }
    if (static_cast<double>(ticks.values.size()) * labelRoom(ticks.widest) <= length) break;
  }
  return ticks;
}

// Everything beside the plot whose size depends on the plot's height.
struct Surround {
  Ticks upTicks;
  std::vector<LegendTick> legend;
  double legendWidest = 0;
  int left = 0;                   // units left of the plot, the outer margin included
  int right = 0;                  // units right of it, the outer margin included
  int barTop = 0, barBottom = 0;  // from the plot's top
};

Surround surroundFor(const ColourScale& scale, const SliceDrawing& drawing,
                     const std::vector<LegendSwatch>& swatches, const PictureGeometry& g,
                     int plotHeight, const Spacing& s) {
  Surround r;
  r.upTicks = fittingTicks(g.upLow, g.upHigh, plotHeight, 50, s, drawing.metrics,
                           [&](double) { return s.cap + 3.0 * s.gap; });
  bool over = false, under = false;
  for (const LegendSwatch& swatch : swatches) {
    over = over || swatch.kind == ColourClass::Over;
    under = under || swatch.kind == ColourClass::Under;
    r.legendWidest = std::max(r.legendWidest, drawing.metrics.width(swatch.text, s.size));
  }
  r.barTop = over ? s.swatch + s.gap : 0;
  r.barBottom = plotHeight - (under ? s.swatch + s.gap : 0);
  r.legend = legendTicks(scale, std::max(1, r.barBottom - r.barTop), s.cap + 2.0 * s.gap);
  for (const LegendTick& tick : r.legend) {
    r.legendWidest = std::max(r.legendWidest, drawing.metrics.width(tick.text, s.size));
  }
  r.left = s.margin + s.line + static_cast<int>(std::ceil(r.upTicks.widest)) + s.gap + s.tick + 1;
  r.right = 1 + 4 * s.gap + s.bar + s.tick + s.gap + static_cast<int>(std::ceil(r.legendWidest)) +
            (drawing.colourLabel.empty() ? 0 : 2 * s.gap + s.line) + s.margin;
  return r;
}

int units(double value) {
  return static_cast<int>(std::lround(value));
}

// Where the plot goes, what lies beside it, and how large the picture is.
struct Layout {
  PictureGeometry g;
  Surround r;
  int width = 0;
  int height = 0;
};

// Lays the plot and its surround out, with a line above the plot for the title or not.
SliceLayout layOut(const SlicePlane& plane, const ColourScale& scale, const SliceDrawing& drawing,
                   const std::vector<LegendSwatch>& swatches, const Spacing& s, bool titleLine,
                   double titleWidth, Layout& layout, std::string& error) {
  PictureGeometry& g = layout.g;
  Surround& r = layout.r;
  const double acrossSpan = g.acrossHigh - g.acrossLow;
  const double upSpan = g.upHigh - g.upLow;
  const bool section = std::string_view(plane.upName) == "elevation";
  const double asked = drawing.exaggeration;
  // Display units of up per display unit across, for a plot at a scale of its own.
  const double ratio = asked > 0 ? asked : 1;
  const int top = s.margin + (titleLine ? s.line + 2 * s.gap : 0);
  const int bottom = 1 + s.tick + s.gap + 2 * s.line + s.margin;
  if (drawing.width <= 0 || drawing.height <= 0) {
    const int cells = std::max(plane.across->cellCount, plane.up->cellCount);
    const int longSide = std::clamp(kUnitsPerCell * cells, kPlotLongMin, kPlotLongMax);
    const double perUnit = longSide / std::max(acrossSpan, ratio * upSpan);
    g.plotWidth = std::max(1, units(acrossSpan * perUnit));
    g.plotHeight = std::max(1, units(ratio * upSpan * perUnit));
    if (asked == 0) {
      g.plotWidth = std::max(kPlotShortMin, g.plotWidth);
      g.plotHeight = std::max(kPlotShortMin, g.plotHeight);
    }
    r = surroundFor(scale, drawing, swatches, g, g.plotHeight, s);
    const int content = r.left + g.plotWidth + r.right;
    layout.width = std::max(content, units(2 * s.margin + titleWidth));
    layout.height = top + g.plotHeight + bottom;
    g.plotLeft = r.left + (layout.width - content) / 2;
    g.plotTop = top;
    return SliceLayout::Drawn;
  }
  layout.width = drawing.width;
  layout.height = drawing.height;
  const int roomHeight = layout.height - top - bottom;
  r = surroundFor(scale, drawing, swatches, g, roomHeight, s);
  const int roomWidth = layout.width - r.left - r.right;
  if (roomWidth < kPlotSmallest || roomHeight < kPlotSmallest) {
    error = "a picture of " + std::to_string(layout.width) + "x" + std::to_string(layout.height) +
            " leaves too little room for the plot beside its axes and legend";
    return SliceLayout::TooSmall;
  }
  if (section && asked == 0) {
    // A section fills the room; the title says how much that stretches it.
    g.plotWidth = roomWidth;
    g.plotHeight = roomHeight;
  } else {
    const double perUnit = std::min(roomWidth / acrossSpan, roomHeight / (ratio * upSpan));
    g.plotWidth = std::clamp(units(acrossSpan * perUnit), 1, roomWidth);
    g.plotHeight = std::clamp(units(ratio * upSpan * perUnit), 1, roomHeight);
    if (asked == 0) {
      g.plotWidth = std::max(g.plotWidth, std::min(kPlotShortMin, roomWidth));
      g.plotHeight = std::max(g.plotHeight, std::min(kPlotShortMin, roomHeight));
    }
    // The labels of the final height may be wider than those of the first guess.
    r = surroundFor(scale, drawing, swatches, g, g.plotHeight, s);
    g.plotWidth = std::max(1, std::min(g.plotWidth, layout.width - r.left - r.right));
  }
  // What the plot leaves goes to the margins, half on either side.
  g.plotLeft = r.left + (layout.width - r.left - r.right - g.plotWidth) / 2;
  g.plotTop = top + (roomHeight - g.plotHeight) / 2;
  return SliceLayout::Drawn;
}

void addText(PictureScene& scene, double x, double y, const std::string& text, double size,
             TextAlign align, bool upward = false) {
  scene.texts.push_back(SceneText{x, y, text, size, align, upward});
}

// A one-unit frame just outside x0 <= x < x1, y0 <= y < y1.
void addFrame(PictureScene& scene, int x0, int y0, int x1, int y1) {
  addRect(scene, x0 - 1, y0 - 1, x1 + 1, y0, kInk);
  addRect(scene, x0 - 1, y1, x1 + 1, y1 + 1, kInk);
  addRect(scene, x0 - 1, y0 - 1, x0, y1 + 1, kInk);
  addRect(scene, x1, y0 - 1, x1 + 1, y1 + 1, kInk);
}

// A swatch of `colour` with its frame, `height` units tall from `top`, and its text.
void addSwatch(PictureScene& scene, int left, int right, int top, int height, int textLeft,
               const LegendSwatch& swatch, double size) {
  addFrame(scene, left, top, right, top + height);
  addRect(scene, left, top, right, top + height, swatch.colour);
  addText(scene, textLeft, top + height / 2.0, swatch.text, size, TextAlign::Start);
}

// The title with what the picture's stretch is, when it is not true to scale.
std::string stretchedTitle(const SlicePlane& plane, const std::string& title, double exaggeration) {
  if (std::fabs(exaggeration - 1) <= kTrueScaleSlack) return title;
  char note[64];
  std::snprintf(note, sizeof note, "%s exaggeration x%.3g",
                std::string_view(plane.upName) == "elevation" ? "vertical" : plane.upName,
                exaggeration);
  return title.empty() ? note : title + " (" + note + ")";
}

}  // namespace

SliceLayout renderSlice(const SlicePlane& plane, const ColourScale& scale,
                        const SliceDrawing& drawing, PictureScene& scene, PictureGeometry& geometry,
                        std::string& error) {
  Layout layout;
  PictureGeometry& g = layout.g;
  geometry = PictureGeometry{};
  if (!axisExtent(*plane.across, plane.acrossName, g.acrossLow, g.acrossHigh, error) ||
      !axisExtent(*plane.up, plane.upName, g.upLow, g.upHigh, error)) {
    return SliceLayout::NoExtent;
  }
  const bool sized = drawing.width > 0 && drawing.height > 0;
  // A picture of a given size gets text in proportion, so that it reads alike at any size.
  const double size =
      sized ? std::clamp(std::sqrt(static_cast<double>(drawing.width) * drawing.height) / 50, 10.0,
                         72.0)
            : kTextSize;
  const Spacing s = spacingFor(size, drawing.metrics);
  const std::vector<LegendSwatch> swatches = legendSwatches(scale, plane.values);
  const double acrossSpan = g.acrossHigh - g.acrossLow;
  const double upSpan = g.upHigh - g.upLow;
  const PictureGeometry extents = g;

  // The stretch is known once the plot is laid out; a picture without a title that turns
  // out stretched is laid out again with a line to say so.
  double titleWidth = drawing.metrics.width(drawing.title, size);
  bool titleLine = !drawing.title.empty();
  SliceLayout result =
      layOut(plane, scale, drawing, swatches, s, titleLine, titleWidth, layout, error);
  if (result != SliceLayout::Drawn) return result;
  std::string title = stretchedTitle(plane, drawing.title,
                                     drawing.exaggeration > 0
                                         ? drawing.exaggeration
                                         : (g.plotHeight / upSpan) / (g.plotWidth / acrossSpan));
  if (!title.empty() && !titleLine) {
    titleLine = true;
    layout = Layout{};
    layout.g = extents;
    result = layOut(plane, scale, drawing, swatches, s, titleLine, titleWidth, layout, error);
    if (result != SliceLayout::Drawn) return result;
  }
  g.exaggeration = (g.plotHeight / upSpan) / (g.plotWidth / acrossSpan);
  // An exaggeration asked for is the one drawn, but for the rounding of the plot's sides
  // to whole units, which may be large on a thin plot.
  title = stretchedTitle(plane, drawing.title,
                         drawing.exaggeration > 0 ? drawing.exaggeration : g.exaggeration);
  titleWidth = drawing.metrics.width(title, size);
  const Surround& r = layout.r;
  const int width = layout.width;
  const int plotRight = g.plotLeft + g.plotWidth;
  const int plotBottom = g.plotTop + g.plotHeight;

  scene = PictureScene{};
  scene.width = width;
  scene.height = layout.height;
  scene.title = title;
  if (!title.empty()) {
    // Over the middle of the plot, within the margins; set smaller while wider than they
    // allow (a font drawn at whole-number scales shrinks only in steps).
    const double room = width - 2.0 * s.margin;
    double titleSize = size;
    for (int tries = 0; tries < 16 && titleWidth > room; ++tries) {
      titleSize *= std::min(0.95, room / titleWidth);
      titleWidth = drawing.metrics.width(title, titleSize);
    }
    const double half = std::min(titleWidth, room) / 2;
    addText(scene,
            std::clamp(g.plotLeft + g.plotWidth / 2.0, s.margin + half, width - s.margin - half),
            g.plotTop - 2 * s.gap - s.line / 2.0, title, titleSize, TextAlign::Centre);
  }
  addSliceCells(plane, scale, g, scene);
  addFrame(scene, g.plotLeft, g.plotTop, plotRight, plotBottom);

  // Across axis: ticks below the frame, labels under them, then the axis title.
  const Ticks acrossTicks =
      fittingTicks(g.acrossLow, g.acrossHigh, g.plotWidth, 90, s, drawing.metrics,
                   [&](double widest) { return widest + 3.0 * s.gap; });
  const double acrossLabelLine = plotBottom + 1 + s.tick + s.gap + s.cap / 2.0;
  for (size_t i = 0; i < acrossTicks.values.size(); ++i) {
    const double f = (acrossTicks.values[i] - g.acrossLow) / acrossSpan;
    const int x = g.plotLeft + std::min(g.plotWidth - 1, units(f * g.plotWidth));
    addRect(scene, x, plotBottom + 1, x + 1, plotBottom + 1 + s.tick, kInk);
    const double half = drawing.metrics.width(acrossTicks.labels[i], size) / 2;
    addText(scene, std::clamp(x + 0.5, half, width - half), acrossLabelLine, acrossTicks.labels[i],
            size, TextAlign::Centre);
  }
  addText(scene, g.plotLeft + g.plotWidth / 2.0, acrossLabelLine + s.line,
          axisTitle(plane.acrossName, drawing.units), size, TextAlign::Centre);

  // Up axis: ticks left of the frame, labels against them, the axis title turned upward.
  for (size_t i = 0; i < r.upTicks.values.size(); ++i) {
    const double f = (g.upHigh - r.upTicks.values[i]) / upSpan;
    const int y = g.plotTop + std::min(g.plotHeight - 1, units(f * g.plotHeight));
    addRect(scene, g.plotLeft - 1 - s.tick, y, g.plotLeft - 1, y + 1, kInk);
    addText(scene, g.plotLeft - 1 - s.tick - s.gap, y + 0.5, r.upTicks.labels[i], size,
            TextAlign::End);
  }
  const double upTitleLine =
      g.plotLeft - 1 - s.tick - s.gap - std::ceil(r.upTicks.widest) - s.line / 2.0;
  addText(scene, upTitleLine, g.plotTop + g.plotHeight / 2.0,
          axisTitle(plane.upName, drawing.units), size, TextAlign::Centre, true);

  // Legend: the ramp from the bottom (low) to the top (high) with its marks, and the
  // swatches of colours beyond it: over above the bar, under below it, NaN under the plot.
  const int barLeft = plotRight + 4 * s.gap;
  const int barRight = barLeft + s.bar;
  const int barTop = g.plotTop + r.barTop;
  const int barBottom = g.plotTop + r.barBottom;
  const int barLength = barBottom - barTop;
  const int legendTextLeft = barRight + s.tick + s.gap;
  if (scale.hasValues && barLength > 0) {
    for (int y = 0; y < barLength; ++y) {
      const double place = scale.high > scale.low ? 1 - (y + 0.5) / barLength : 0.5;
      addRect(scene, barLeft, barTop + y, barRight, barTop + y + 1, rampColour(place), 1, true);
    }
    addFrame(scene, barLeft, barTop, barRight, barBottom);
    for (const LegendTick& tick : r.legend) {
      const int y = barTop + std::min(barLength - 1, units((1 - tick.place) * barLength));
      addRect(scene, barRight + 1, y, barRight + 1 + s.tick, y + 1, kInk);
      if (tick.text.empty()) continue;
      const double line =
          std::clamp(y + 0.5, barTop - s.gap + s.cap / 2.0, barBottom + s.gap - s.cap / 2.0);
      addText(scene, legendTextLeft, line, tick.text, size, TextAlign::Start);
    }
  }
  for (const LegendSwatch& swatch : swatches) {
    const int swatchTop = swatch.kind == ColourClass::Over ? g.plotTop
                          : swatch.kind == ColourClass::Under
                              ? plotBottom - s.swatch
                              : plotBottom + 1 + s.tick + s.gap + s.line;
    const int swatchHeight = swatch.kind == ColourClass::NaN ? s.cap : s.swatch;
    addSwatch(scene, barLeft, barRight, swatchTop, swatchHeight, legendTextLeft, swatch, size);
  }
  if (!drawing.colourLabel.empty()) {
    addText(scene, legendTextLeft + r.legendWidest + 2 * s.gap + s.line / 2.0,
            g.plotTop + g.plotHeight / 2.0, drawing.colourLabel, size, TextAlign::Centre, true);
  }
  geometry = g;
  return SliceLayout::Drawn;
}
