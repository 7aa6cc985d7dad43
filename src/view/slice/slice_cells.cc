#include "view/slice/slice_cells.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Rgb kInk{0, 0, 0};
constexpr int kBorderMinCell = 6;  // cells this wide or more get a drawn border
constexpr double kBorderOpacity = 0.25;

// Whether cell `k` of `axis` reaches into the coordinates from `low` to `high`.
bool cellShown(const NodeAxis& axis, int32_t k, double low, double high) {
  const double a = axis.nodes[k], b = axis.nodes[k + 1];
  return std::max(a, b) > low && std::min(a, b) < high;
}

// The cells of `axis` shown, in the order they lie along the picture's `rising`
// direction of coordinates: index order reversed where the nodes fall.
std::vector<int32_t> cellsInOrder(const NodeAxis& axis, double low, double high, bool rising) {
  std::vector<int32_t> cells;
  for (int32_t k = 0; k < axis.cellCount; ++k) {
    if (cellShown(axis, k, low, high)) cells.push_back(k);
  }
  const bool falls = axis.order == NodeOrder::kFalling;
  if (falls == rising) std::reverse(cells.begin(), cells.end());
  return cells;
}

// Where coordinates fall in the plot of a picture, in picture units.
struct PlotPlaces {
  const PictureGeometry& g;
  double xPerUnit = g.plotWidth / (g.acrossHigh - g.acrossLow);
  double yPerUnit = g.plotHeight / (g.upHigh - g.upLow);
  int right = g.plotLeft + g.plotWidth;
  int bottom = g.plotTop + g.plotHeight;

  double x(double c) const { return g.plotLeft + (c - g.acrossLow) * xPerUnit; }
  double y(double c) const { return g.plotTop + (g.upHigh - c) * yPerUnit; }
  // Within the plot: a cell reaching beyond the coordinates shown is cut at its edge.
  double xInside(double c) const {
    return std::clamp(x(c), static_cast<double>(g.plotLeft), static_cast<double>(right));
  }
  double yInside(double c) const {
    return std::clamp(y(c), static_cast<double>(g.plotTop), static_cast<double>(bottom));
  }
};

// Borders one unit wide, centred on the true edges inside the plot, along each axis whose
// shown cells (`columns`, `rows`) are all wide.
void addCellBorders(const SlicePlane& plane, const PictureGeometry& g,
                    const std::vector<int32_t>& columns, const std::vector<int32_t>& rows,
                    PictureScene& scene) {
  const NodeAxis& across = *plane.across;
  const NodeAxis& up = *plane.up;
  const PlotPlaces at{g};
  const auto narrowest = [](const NodeAxis& axis, const std::vector<int32_t>& cells, auto place) {
    double result = INFINITY;
    for (const int32_t k : cells) {
      result = std::min(result, std::fabs(place(axis.nodes[k + 1]) - place(axis.nodes[k])));
    }
    return result;
  };
  const auto xAt = [&](double c) { return at.x(c); };
  const auto yAt = [&](double c) { return at.y(c); };
  if (narrowest(across, columns, xAt) >= kBorderMinCell) {
    for (int32_t k = 1; k < across.cellCount; ++k) {
      const double x = xAt(across.nodes[k]);
      if (x > g.plotLeft + 0.5 && x < at.right - 0.5) {
        addRect(scene, x - 0.5, g.plotTop, x + 0.5, at.bottom, kInk, kBorderOpacity);
      }
    }
  }
  if (narrowest(up, rows, yAt) >= kBorderMinCell) {
    for (int32_t k = 1; k < up.cellCount; ++k) {
      const double y = yAt(up.nodes[k]);
      if (y > g.plotTop + 0.5 && y < at.bottom - 0.5) {
        addRect(scene, g.plotLeft, y - 0.5, at.right, y + 0.5, kInk, kBorderOpacity);
      }
    }
  }
}

}  // namespace

void addSliceCells(const SlicePlane& plane, const ColourScale& scale, const PictureGeometry& g,
                   PictureScene& scene) {
  const NodeAxis& across = *plane.across;
  const NodeAxis& up = *plane.up;
  const PlotPlaces at{g};
  const auto xOf = [&](double c) { return at.xInside(c); };
  const auto yOf = [&](double c) { return at.yInside(c); };
  // Left to right along a row, rows from the top: a tile of a vector picture reaches under
  // the tiles after it, and is covered there.
  const std::vector<int32_t> columns = cellsInOrder(across, g.acrossLow, g.acrossHigh, true);
  const std::vector<int32_t> rows = cellsInOrder(up, g.upLow, g.upHigh, false);
  // Runs of cells side by side merge only where the nodes are in order.
  const bool merge = across.order != NodeOrder::kUnsorted;
  const size_t rowLength = static_cast<size_t>(across.cellCount);
  for (const int32_t row : rows) {
    const double y0 = std::min(yOf(up.nodes[row]), yOf(up.nodes[row + 1]));
    const double y1 = std::max(yOf(up.nodes[row]), yOf(up.nodes[row + 1]));
    const double* values = plane.values.data() + rowLength * static_cast<size_t>(row);
    for (size_t first = 0; first < columns.size();) {
      const Rgb colour = scaleColour(scale, values[columns[first]]);
      size_t last = first;
      while (merge && last + 1 < columns.size() &&
             scaleColour(scale, values[columns[last + 1]]) == colour) {
        ++last;
      }
      const int32_t a = columns[first], b = columns[last];
      const double xs[] = {xOf(across.nodes[a]), xOf(across.nodes[a + 1]), xOf(across.nodes[b]),
                           xOf(across.nodes[b + 1])};
      addRect(scene, *std::min_element(xs, xs + 4), y0, *std::max_element(xs, xs + 4), y1, colour,
              1, true);
      first = last + 1;
    }
  }
  addCellBorders(plane, g, columns, rows, scene);
}

std::vector<double> shownCellValues(const SlicePlane& plane, const PictureGeometry& g) {
  std::vector<double> shown;
  for (int32_t row = 0; row < plane.up->cellCount; ++row) {
    if (!cellShown(*plane.up, row, g.upLow, g.upHigh)) continue;
    for (int32_t column = 0; column < plane.across->cellCount; ++column) {
      if (!cellShown(*plane.across, column, g.acrossLow, g.acrossHigh)) continue;
      shown.push_back(plane.values[static_cast<size_t>(column) +
                                   static_cast<size_t>(plane.across->cellCount) * row]);
    }
  }
  return shown;
}
