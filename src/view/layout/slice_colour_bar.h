// The colour bar beside a slice picture's plot: the ramp with its marks, the swatches of
// the colours beyond it, and the name of the values.
#pragma once

#include <string>
#include <vector>

#include "view/layout/slice_legend.h"
#include "view/layout/text_spacing.h"
#include "view/scene/colour_scale.h"
#include "view/scene/picture_geometry.h"
#include "view/scene/picture_scene.h"

/// Where the parts of a colour bar go beside a plot.
struct ColourBar {
  std::vector<LegendTick> marks;
  std::vector<LegendSwatch> swatches;
  int top = 0;        // the ramp's top, in units below the plot's top
  int bottom = 0;     // the ramp's bottom, likewise
  double widest = 0;  // the widest text beside the bar
};

/// The colour bar of `scale` with `swatches` beside a plot `plotHeight` units tall: the
/// "above" swatch at the plot's top and the "under" swatch at its bottom, each with room
/// enough that its text stays clear of the labels at the ramp's ends.
ColourBar layOutColourBar(const ColourScale& scale, const std::vector<LegendSwatch>& swatches,
                          int plotHeight, const TextSpacing& s, const TextMetrics& metrics);

/// Units right of the plot that the bar, its texts and the name `label` take.
int colourBarWidth(const ColourBar& bar, const std::string& label, const TextSpacing& s);

/// Adds the bar of `scale` beside the plot of `g`, with the name `label` turned upward.
void addColourBar(const ColourBar& bar, const ColourScale& scale, const std::string& label,
                  const PictureGeometry& g, const TextSpacing& s, PictureScene& scene);
