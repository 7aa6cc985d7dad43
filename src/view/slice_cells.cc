#include "view/slice_cells.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Rgb kInk{0, 0, 0};
constexpr int kBorderMinCell = 6;  // cells this wide or more get a drawn border
constexpr double kBorderOpacity = 0.25;

}  // namespace

void addSliceCells(const SlicePlane& plane, const ColourScale& scale, const PictureGeometry& g,
                   PictureScene& scene) {
  const NodeAxis& across = *plane.across;
  const NodeAxis& up = *plane.up;
  const double xPerUnit = g.plotWidth / (g.acrossHigh - g.acrossLow);
  const double yPerUnit = g.plotHeight / (g.upHigh - g.upLow);
  const auto xOf = [&](double c) { return g.plotLeft + (c - g.acrossLow) * xPerUnit; };
  const auto yOf = [&](double c) { return g.plotTop + (g.upHigh - c) * yPerUnit; };
  // Runs of cells in index order lie side by side only where the nodes are in order.
  const bool merge = across.order != NodeOrder::kUnsorted;
  const size_t columns = static_cast<size_t>(across.cellCount);
  for (int32_t row = 0; row < up.cellCount; ++row) {
    const double y0 = std::min(yOf(up.nodes[row]), yOf(up.nodes[row + 1]));
    const double y1 = std::max(yOf(up.nodes[row]), yOf(up.nodes[row + 1]));
    const double* values = plane.values.data() + columns * static_cast<size_t>(row);
    for (int32_t first = 0; first < across.cellCount;) {
      const Rgb colour = scaleColour(scale, values[first]);
      int32_t last = first;
      while (merge && last + 1 < across.cellCount &&
             scaleColour(scale, values[last + 1]) == colour) {
        ++last;
      }
      const double xa = xOf(across.nodes[first]), xb = xOf(across.nodes[last + 1]);
      addRect(scene, std::min(xa, xb), y0, std::max(xa, xb), y1, colour, 1, true);
      first = last + 1;
    }
  }
  const auto narrowest = [](const NodeAxis& axis, auto place) {
    double result = INFINITY;
    for (int32_t k = 0; k < axis.cellCount; ++k) {
      result = std::min(result, std::fabs(place(axis.nodes[k + 1]) - place(axis.nodes[k])));
    }
    return result;
  };
  const int plotRight = g.plotLeft + g.plotWidth, plotBottom = g.plotTop + g.plotHeight;
  if (narrowest(across, xOf) >= kBorderMinCell) {
    for (int32_t k = 1; k < across.cellCount; ++k) {
      const int x = static_cast<int>(std::lround(xOf(across.nodes[k])));
      if (x > g.plotLeft && x < plotRight) {
        addRect(scene, x, g.plotTop, x + 1, plotBottom, kInk, kBorderOpacity);
      }
    }
  }
  if (narrowest(up, yOf) >= kBorderMinCell) {
    for (int32_t k = 1; k < up.cellCount; ++k) {
      const int y = static_cast<int>(std::lround(yOf(up.nodes[k])));
      if (y > g.plotTop && y < plotBottom) {
        addRect(scene, g.plotLeft, y, plotRight, y + 1, kInk, kBorderOpacity);
      }
    }
  }
}
