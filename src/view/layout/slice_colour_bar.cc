#include "view/layout/slice_colour_bar.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Rgb kInk{0, 0, 0};

int units(double value) {
  return static_cast<int>(std::lround(value));
}

// The units between the bar and the texts beside it, from the plot's right edge.
int barLeftOf(const TextSpacing& s) {
  return 4 * s.gap;
}

int textLeftOf(const TextSpacing& s) {
  return barLeftOf(s) + s.bar + s.tick + s.gap;
}

}  // namespace

ColourBar layOutColourBar(const ColourScale& scale, const std::vector<LegendSwatch>& swatches,
                          int plotHeight, const TextSpacing& s, const TextMetrics& metrics) {
  ColourBar bar;
  bar.swatches = swatches;
  bool over = false, under = false;
  for (const LegendSwatch& swatch : swatches) {
    over = over || swatch.kind == ColourClass::Over;
    under = under || swatch.kind == ColourClass::Under;
    bar.widest = std::max(bar.widest, metrics.width(swatch.text, s.size));
  }
  // A swatch's text lies on its middle, half a swatch from the plot's end; a ramp's end
  // label reaches a gap beyond the ramp. Between the two, a gap of their own.
  const int beside = (s.swatch + s.cap) / 2 + 2 * s.gap;
  bar.top = over ? beside : 0;
  bar.bottom = plotHeight - (under ? beside : 0);
  bar.marks = legendTicks(scale, std::max(1, bar.bottom - bar.top), s.cap + 2.0 * s.gap);
  for (const LegendTick& mark : bar.marks) {
    bar.widest = std::max(bar.widest, metrics.width(mark.text, s.size));
  }
  return bar;
}

int colourBarWidth(const ColourBar& bar, const std::string& label, const TextSpacing& s) {
  return 1 + textLeftOf(s) + static_cast<int>(std::ceil(bar.widest)) +
         (label.empty() ? 0 : 2 * s.gap + s.line);
}

void addColourBar(const ColourBar& bar, const ColourScale& scale, const std::string& label,
                  const PictureGeometry& g, const TextSpacing& s, PictureScene& scene) {
  // The ramp from the bottom (low) to the top (high) with its marks, and the swatches of
  // colours beyond it: over above the bar, under below it, NaN under the plot.
  const int plotRight = g.plotLeft + g.plotWidth;
  const int plotBottom = g.plotTop + g.plotHeight;
  const int barLeft = plotRight + barLeftOf(s);
  const int barRight = barLeft + s.bar;
  const int barTop = g.plotTop + bar.top;
  const int barBottom = g.plotTop + bar.bottom;
  const int barLength = barBottom - barTop;
  const int textLeft = plotRight + textLeftOf(s);
  if (scale.hasValues && barLength > 0) {
    for (int y = 0; y < barLength; ++y) {
      const double place = scale.high > scale.low ? 1 - (y + 0.5) / barLength : 0.5;
      addRect(scene, barLeft, barTop + y, barRight, barTop + y + 1, rampColour(place), 1, true);
    }
    addFrame(scene, barLeft, barTop, barRight, barBottom);
    for (const LegendTick& mark : bar.marks) {
      const int y = barTop + std::min(barLength - 1, units((1 - mark.place) * barLength));
      addRect(scene, barRight + 1, y, barRight + 1 + s.tick, y + 1, kInk);
      if (mark.text.empty()) continue;
      const double line =
          std::clamp(y + 0.5, barTop - s.gap + s.cap / 2.0, barBottom + s.gap - s.cap / 2.0);
      addText(scene, textLeft, line, mark.text, s.size, TextAlign::Start);
    }
  }
  for (const LegendSwatch& swatch : bar.swatches) {
    const int top = swatch.kind == ColourClass::Over    ? g.plotTop
                    : swatch.kind == ColourClass::Under ? plotBottom - s.swatch
                                                        : plotBottom + 1 + s.tick + s.gap + s.line;
    const int height = swatch.kind == ColourClass::NaN ? s.cap : s.swatch;
    addFrame(scene, barLeft, top, barRight, top + height);
    addRect(scene, barLeft, top, barRight, top + height, swatch.colour);
    addText(scene, textLeft, top + height / 2.0, swatch.text, s.size, TextAlign::Start);
  }
  if (!label.empty()) {
    addText(scene, textLeft + bar.widest + 2 * s.gap + s.line / 2.0, g.plotTop + g.plotHeight / 2.0,
            label, s.size, TextAlign::Centre, true);
  }
}
