// The two axes of a slice picture: which marks each shows, how much room their labels
// take beside the plot, and their ticks, labels and titles.
#pragma once

#include <string>
#include <vector>

#include "view/layout/text_spacing.h"
#include "view/scene/picture_geometry.h"
#include "view/scene/picture_scene.h"

/// The coordinates an axis shows, at the plot's two ends, in the units its labels use.
struct AxisSpan {
  double low = 0;
  double high = 0;
};

/// The marks of one axis, at round values one step apart, and their labels.
struct AxisMarks {
  std::vector<double> values;       // in the axis's display units
  std::vector<std::string> labels;  // all in one form
  double step = 0;
  double widest = 0;  // the widest label, along its line
};

/// The marks of the two axes of a plot.
struct PlotMarks {
  AxisMarks across;
  AxisMarks up;
  bool acrossUpward = false;  // the across labels read upward: side by side they had no room
  bool fit = false;           // every label has room, at least `fewest` marks on each axis
};

/// Picks the marks of a plot `acrossLength` by `upLength` units that shows `across` and
/// `up`: on each axis the finest round step whose labels keep clear of each other and
/// whose marks are not crowded, with at least `fewest` marks; where crowding cannot be
/// helped, the coarsest step that leaves `fewest`. Across labels stand side by side, or
/// read upward where that is the only way to fit them. Where `sameScale` (one unit
/// across is drawn as long as one unit up), both axes take one step where one serves.
/// `fit` false: some axis has no step of `fewest` marks whose labels fit.
PlotMarks choosePlotMarks(const AxisSpan& across, const AxisSpan& up, int acrossLength,
                          int upLength, bool sameScale, int fewest, const TextSpacing& s,
                          const TextMetrics& metrics);

/// Units below the plot that the across axis's ticks, labels and title take.
int acrossAxisHeight(const PlotMarks& marks, const TextSpacing& s);

/// Units left of the plot that the up axis's ticks, labels and title take.
int upAxisWidth(const PlotMarks& marks, const TextSpacing& s);

/// The axis title of the coordinate `name` in `units`: "Easting (m)".
std::string axisTitle(const char* name, const std::string& units);

/// Adds the ticks and labels of `marks` and the axis titles around the plot of `g`, whose
/// edges show `across` and `up`, to `scene`.
void addPlotAxes(const PlotMarks& marks, const AxisSpan& across, const AxisSpan& up,
                 const PictureGeometry& g, const std::string& acrossTitle,
                 const std::string& upTitle, const TextSpacing& s, const TextMetrics& metrics,
                 PictureScene& scene);
