#include "view/render_slice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "view/axis_ticks.h"
#include "view/bitmap_font.h"

namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{0, 0, 0};
constexpr int kTextScale = 2;
constexpr int kTextHeight = (kGlyphHeight - 1) * kTextScale;  // capitals and digits
constexpr int kMargin = 16;
constexpr int kTickLength = 6;
constexpr int kGap = 6;
constexpr int kPlotLong = 720;      // pixels along the longer side of the plot
constexpr int kPlotShortMin = 120;  // a thinner side is stretched to this
constexpr int kBarWidth = 24;
constexpr int kBorderMinCell = 6;  // cells this wide or more get a drawn border

// The pixel span of each cell along one axis of the plot. Pixel p of the axis shows the
// cell that covers it; cells narrower than a pixel may show in none.
struct AxisPixels {
  std::vector<int> cellAt;     // per pixel: cell index from 0, or -1
  std::vector<bool> cellEdge;  // per pixel: the first pixel of a cell other than the first
  int narrowest = 0;           // pixels of the narrowest cell
};

// `flip`: coordinates rise toward pixel 0 (the up axis, drawn from the top of the picture).
AxisPixels axisPixels(const NodeAxis& axis, double low, double high, int pixels, bool flip) {
  AxisPixels result;
  result.cellAt.assign(static_cast<size_t>(pixels), -1);
  result.cellEdge.assign(static_cast<size_t>(pixels), false);
  result.narrowest = pixels;
  const double perUnit = pixels / (high - low);
  auto toPixel = [&](double coordinate) {
    const double offset = flip ? high - coordinate : coordinate - low;
    return static_cast<int>(std::lround(offset * perUnit));
  };
  for (int32_t cell = 0; cell < axis.cellCount; ++cell) {
    int a = toPixel(axis.nodes[cell]);
    int b = toPixel(axis.nodes[cell + 1]);
    if (a > b) std::swap(a, b);
    a = std::clamp(a, 0, pixels);
    b = std::clamp(b, 0, pixels);
    result.narrowest = std::min(result.narrowest, b - a);
    for (int p = a; p < b; ++p) result.cellAt[static_cast<size_t>(p)] = cell;
    if (a > 0 && a < b) result.cellEdge[static_cast<size_t>(a)] = true;
  }
  return result;
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

Rgb darken(Rgb c) {
  return Rgb{static_cast<uint8_t>(c.r * 3 / 4), static_cast<uint8_t>(c.g * 3 / 4),
             static_cast<uint8_t>(c.b * 3 / 4)};
}

// Ticks and their texts for an axis `pixels` long, as many as fit with room between
// labels that are `labelRoom(widest)` pixels each.
struct Ticks {
  std::vector<double> values;
  std::vector<std::string> labels;
  int widest = 0;
};

template <typename Room>
Ticks fittingTicks(double low, double high, int pixels, int pixelsPerTick, Room labelRoom) {
  Ticks ticks;
  for (int count = std::max(2, pixels / pixelsPerTick); count >= 1; --count) {
    double step = 0;
    ticks.values = niceTicks(low, high, count, step);
    ticks.labels.clear();
    ticks.widest = 0;
    for (double v : ticks.values) {
      ticks.labels.push_back(formatTick(v, step));
      ticks.widest = std::max(ticks.widest, textWidth(ticks.labels.back(), kTextScale));
    }
    if (static_cast<int>(ticks.values.size()) * labelRoom(ticks.widest) <= pixels) break;
  }
  return ticks;
}

}  // namespace

bool renderSlice(const SlicePlane& plane, const ColourScale& scale, const std::string& title,
                 RgbImage& image, PictureGeometry& geometry, std::string& error) {
  PictureGeometry& g = geometry;
  if (!axisExtent(*plane.across, plane.acrossName, g.acrossLow, g.acrossHigh, error) ||
      !axisExtent(*plane.up, plane.upName, g.upLow, g.upHigh, error)) {
    return false;
  }
  // One scale for both axes, unless a side would come out too thin to see.
  const double acrossSpan = g.acrossHigh - g.acrossLow;
  const double upSpan = g.upHigh - g.upLow;
  const double perUnit = kPlotLong / std::max(acrossSpan, upSpan);
  g.plotWidth = std::max(kPlotShortMin, static_cast<int>(std::lround(acrossSpan * perUnit)));
  g.plotHeight = std::max(kPlotShortMin, static_cast<int>(std::lround(upSpan * perUnit)));
  g.exaggeration = (g.plotHeight / upSpan) / (g.plotWidth / acrossSpan);

  const Ticks acrossTicks = fittingTicks(g.acrossLow, g.acrossHigh, g.plotWidth, 90,
                                         [](int widest) { return widest + 3 * kGap; });
  const Ticks upTicks =
      fittingTicks(g.upLow, g.upHigh, g.plotHeight, 50, [](int) { return kTextHeight + 3 * kGap; });

  // Legend texts: the two ends of the scale and round values between them.
  struct LegendLabel {
    double place;  // 0 bottom .. 1 top of the bar
    std::string text;
  };
  std::vector<LegendLabel> legend;
  if (scale.hasValues && scale.high > scale.low) {
    legend.push_back({0, formatValue(scale.low)});
    legend.push_back({1, formatValue(scale.high)});
    double step = 0;
    const double room = (kTextHeight + 2 * kGap) / static_cast<double>(g.plotHeight);
    for (double v : niceTicks(scale.low, scale.high, std::max(2, g.plotHeight / 50), step)) {
      const double place = rampPlace(scale, v);
      if (place > room && place < 1 - room) legend.push_back({place, formatTick(v, step)});
    }
  } else if (scale.hasValues) {
    legend.push_back({0.5, formatValue(scale.low)});
  }
  bool hasNaN = false;
  for (double v : plane.values) hasNaN = hasNaN || std::isnan(v);
  int legendWidest = hasNaN ? textWidth("NaN", kTextScale) : 0;
  for (const LegendLabel& label : legend) {
    legendWidest = std::max(legendWidest, textWidth(label.text, kTextScale));
  }

  // Layout, left to right: up-axis title, its labels, ticks, the plot, the legend bar
  // and its labels; top to bottom: title, plot, across-axis labels and title.
  const int lineHeight = kTextHeight + 2 * kGap;
  g.plotLeft = kMargin + lineHeight + upTicks.widest + kGap + kTickLength + 1;
  g.plotTop = kMargin + lineHeight + 2 * kGap;
  const int plotRight = g.plotLeft + g.plotWidth;
  const int plotBottom = g.plotTop + g.plotHeight;
  const int barLeft = plotRight + 4 * kGap;
  const int barRight = barLeft + kBarWidth;
  const int legendTextLeft = barRight + kTickLength + kGap;
  // The NaN swatch sits on the line of the across-axis name, clear of its labels.
  const int swatchTop = plotBottom + 1 + kTickLength + kGap + lineHeight;
  const int width = std::max(legendTextLeft + legendWidest + kMargin,
                             kMargin + textWidth(title, kTextScale) + kMargin);
  const int height = swatchTop + lineHeight + kMargin;
  image = makeImage(width, height, kPaper);

  drawText(image, kMargin, kMargin, title, kInk, kTextScale);

  // The cells.
  const AxisPixels columns =
      axisPixels(*plane.across, g.acrossLow, g.acrossHigh, g.plotWidth, false);
  const AxisPixels rows = axisPixels(*plane.up, g.upLow, g.upHigh, g.plotHeight, true);
  const bool columnBorders = columns.narrowest >= kBorderMinCell;
  const bool rowBorders = rows.narrowest >= kBorderMinCell;
  std::vector<Rgb> cellColours(plane.values.size());
  for (size_t i = 0; i < plane.values.size(); ++i) {
    cellColours[i] = scaleColour(scale, plane.values[i]);
  }
  const size_t columnCount = static_cast<size_t>(plane.across->cellCount);
  for (int y = 0; y < g.plotHeight; ++y) {
    const int row = rows.cellAt[static_cast<size_t>(y)];
    if (row < 0) continue;
    for (int x = 0; x < g.plotWidth; ++x) {
      const int column = columns.cellAt[static_cast<size_t>(x)];
      if (column < 0) continue;
      Rgb colour =
          cellColours[static_cast<size_t>(column) + columnCount * static_cast<size_t>(row)];
      const bool edge = (columnBorders && columns.cellEdge[static_cast<size_t>(x)]) ||
                        (rowBorders && rows.cellEdge[static_cast<size_t>(y)]);
      if (edge) colour = darken(colour);
      fillRect(image, g.plotLeft + x, g.plotTop + y, g.plotLeft + x + 1, g.plotTop + y + 1, colour);
    }
  }
  // Frame, just outside the cells.
  fillRect(image, g.plotLeft - 1, g.plotTop - 1, plotRight + 1, g.plotTop, kInk);
  fillRect(image, g.plotLeft - 1, plotBottom, plotRight + 1, plotBottom + 1, kInk);
  fillRect(image, g.plotLeft - 1, g.plotTop - 1, g.plotLeft, plotBottom + 1, kInk);
  fillRect(image, plotRight, g.plotTop - 1, plotRight + 1, plotBottom + 1, kInk);

  // Across axis: ticks below the frame, labels under them, then the axis name.
  for (size_t i = 0; i < acrossTicks.values.size(); ++i) {
    const double f = (acrossTicks.values[i] - g.acrossLow) / acrossSpan;
    const int x =
        g.plotLeft + std::min(g.plotWidth - 1, static_cast<int>(std::lround(f * g.plotWidth)));
    fillRect(image, x, plotBottom + 1, x + 1, plotBottom + 1 + kTickLength, kInk);
    const int labelWidth = textWidth(acrossTicks.labels[i], kTextScale);
    const int labelLeft = std::clamp(x - labelWidth / 2, 0, width - labelWidth);
    drawText(image, labelLeft, plotBottom + 1 + kTickLength + kGap, acrossTicks.labels[i], kInk,
             kTextScale);
  }
  const int acrossTitleWidth = textWidth(plane.acrossName, kTextScale);
  drawText(image, g.plotLeft + (g.plotWidth - acrossTitleWidth) / 2,
           plotBottom + 1 + kTickLength + kGap + lineHeight, plane.acrossName, kInk, kTextScale);

  // Up axis: ticks left of the frame, labels right-aligned against them, the axis name
  // turned upward at the far left.
  for (size_t i = 0; i < upTicks.values.size(); ++i) {
    const double f = (g.upHigh - upTicks.values[i]) / upSpan;
    const int y =
        g.plotTop + std::min(g.plotHeight - 1, static_cast<int>(std::lround(f * g.plotHeight)));
    fillRect(image, g.plotLeft - 1 - kTickLength, y, g.plotLeft - 1, y + 1, kInk);
    const int labelWidth = textWidth(upTicks.labels[i], kTextScale);
    drawText(image, g.plotLeft - 1 - kTickLength - kGap - labelWidth, y - kTextHeight / 2,
             upTicks.labels[i], kInk, kTextScale);
  }
  const int upTitleLength = textWidth(plane.upName, kTextScale);
  drawTextUpward(image, kMargin, g.plotTop + (g.plotHeight + upTitleLength) / 2, plane.upName, kInk,
                 kTextScale);

  // Legend bar: the ramp from the bottom (low) to the top (high), ticks and labels.
  if (scale.hasValues) {
    for (int y = 0; y < g.plotHeight; ++y) {
      const double place = scale.high > scale.low ? 1 - (y + 0.5) / g.plotHeight : 0.5;
      fillRect(image, barLeft, g.plotTop + y, barRight, g.plotTop + y + 1, rampColour(place));
    }
    fillRect(image, barLeft - 1, g.plotTop - 1, barRight + 1, g.plotTop, kInk);
    fillRect(image, barLeft - 1, plotBottom, barRight + 1, plotBottom + 1, kInk);
    fillRect(image, barLeft - 1, g.plotTop - 1, barLeft, plotBottom + 1, kInk);
    fillRect(image, barRight, g.plotTop - 1, barRight + 1, plotBottom + 1, kInk);
    for (const LegendLabel& label : legend) {
      const int y =
          g.plotTop + std::min(g.plotHeight - 1,
                               static_cast<int>(std::lround((1 - label.place) * g.plotHeight)));
      fillRect(image, barRight + 1, y, barRight + 1 + kTickLength, y + 1, kInk);
      const int top =
          std::clamp(y - kTextHeight / 2, g.plotTop - kGap, plotBottom + kGap - kTextHeight);
      drawText(image, legendTextLeft, top, label.text, kInk, kTextScale);
    }
  }
  if (hasNaN) {
    fillRect(image, barLeft - 1, swatchTop - 1, barRight + 1, swatchTop + kTextHeight + 1, kInk);
    fillRect(image, barLeft, swatchTop, barRight, swatchTop + kTextHeight, kNanColour);
    drawText(image, legendTextLeft, swatchTop, "NaN", kInk, kTextScale);
  }
  return true;
}
