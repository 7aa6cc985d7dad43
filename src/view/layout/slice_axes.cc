#include "view/layout/slice_axes.h"

#include <algorithm>
#include <cmath>

#include "view/layout/axis_ticks.h"

namespace {

constexpr Rgb kInk{0, 0, 0};
// Marks closer than this are crowded: units between two across marks, two up marks.
constexpr double kAcrossDensest = 90;
constexpr double kUpDensest = 50;

AxisMarks marksAtStep(const AxisSpan& span, double step, const TextSpacing& s,
                      const TextMetrics& metrics) {
  AxisMarks marks;
  marks.step = step;
  marks.values = ticksAtStep(span.low, span.high, step);
  marks.labels = tickTexts(marks.values, step);
  for (const std::string& label : marks.labels) {
    marks.widest = std::max(marks.widest, metrics.width(label, s.size));
  }
  return marks;
}

// How the labels of an axis stand, and the room each needs along the axis.
enum class Labels { Along, Across, Upward };

double labelRoom(Labels labels, const AxisMarks& marks, const TextSpacing& s) {
  // Side by side a label takes its width; stacked, or turned, its capitals and descent.
  const double own = labels == Labels::Along ? marks.widest : s.cap + s.descent;
  return own + 3.0 * s.gap;
}

// One axis's candidates: the round steps that leave `fewest` marks, coarsest first, down
// to one unit between marks, with the units between two marks at each.
struct AxisCandidates {
  AxisSpan span;
  int length = 0;
  std::vector<double> steps;
};

AxisCandidates candidatesFor(const AxisSpan& span, int length, int fewest) {
  AxisCandidates c;
  c.span = span;
  c.length = length;
  const double perUnit = (span.high - span.low) / std::max(1, length);
  c.steps = roundSteps(span.low, span.high, fewest, perUnit);
  return c;
}

double spacingAt(const AxisCandidates& c, double step) {
  return step / (c.span.high - c.span.low) * c.length;
}

// Whether the marks at `step` leave each label its room (`clear`) and are not crowded.
struct Judged {
  AxisMarks marks;
  bool clear = false;
  bool comfortable = false;
};

Judged judge(const AxisCandidates& c, double step, Labels labels, double densest,
             const TextSpacing& s, const TextMetrics& metrics) {
  Judged j;
  j.marks = marksAtStep(c.span, step, s, metrics);
  const double spacing = spacingAt(c, step);
  j.clear = spacing >= labelRoom(labels, j.marks, s);
  j.comfortable = j.clear && spacing >= densest;
  return j;
}

// The finest comfortable step; else the coarsest if its labels are clear. False when
// neither, `marks` then the coarsest step's. Steps are judged from the coarsest down, and
// no further than marks `densest` units apart: finer ones are crowded.
bool pickOne(const AxisCandidates& c, Labels labels, double densest, const TextSpacing& s,
             const TextMetrics& metrics, AxisMarks& marks) {
  bool found = false;
  for (const double step : c.steps) {
    if (spacingAt(c, step) < densest) break;
    Judged j = judge(c, step, labels, densest, s, metrics);
    if (!j.comfortable) break;
    marks = std::move(j.marks);
    found = true;
  }
  if (found) return true;
  if (c.steps.empty()) {
    marks = AxisMarks{};
    return false;
  }
  Judged coarsest = judge(c, c.steps.front(), labels, densest, s, metrics);
  marks = std::move(coarsest.marks);
  return coarsest.clear;
}

bool sameStep(double a, double b) {
  return std::fabs(a - b) <= 1e-9 * std::max(a, b);
}

// One step for both axes: the finest common step at which both are comfortable, else the
// coarsest common one if both are clear there. False when neither. Judged from the
// coarsest down, as one axis is.
bool pickCommon(const AxisCandidates& across, const AxisCandidates& up, Labels acrossLabels,
                const TextSpacing& s, const TextMetrics& metrics, PlotMarks& marks) {
  std::vector<double> common;
  for (double a : across.steps) {
    for (double u : up.steps) {
      if (sameStep(a, u)) common.push_back(a);
    }
  }
  bool found = false;
  for (const double step : common) {
    if (spacingAt(across, step) < kAcrossDensest || spacingAt(up, step) < kUpDensest) break;
    Judged a = judge(across, step, acrossLabels, kAcrossDensest, s, metrics);
    Judged u = judge(up, step, Labels::Across, kUpDensest, s, metrics);
    if (!a.comfortable || !u.comfortable) break;
    marks.across = std::move(a.marks);
    marks.up = std::move(u.marks);
    found = true;
  }
  if (found) return true;
  if (common.empty()) return false;
  Judged a = judge(across, common.front(), acrossLabels, kAcrossDensest, s, metrics);
  Judged u = judge(up, common.front(), Labels::Across, kUpDensest, s, metrics);
  if (!a.clear || !u.clear) return false;
  marks.across = std::move(a.marks);
  marks.up = std::move(u.marks);
  return true;
}

}  // namespace

PlotMarks choosePlotMarks(const AxisSpan& across, const AxisSpan& up, int acrossLength,
                          int upLength, bool sameScale, int fewest, const TextSpacing& s,
                          const TextMetrics& metrics) {
  const AxisCandidates acrossCandidates = candidatesFor(across, acrossLength, fewest);
  const AxisCandidates upCandidates = candidatesFor(up, upLength, fewest);
  PlotMarks marks;
  if (sameScale) {
    for (const Labels labels : {Labels::Along, Labels::Upward}) {
      if (pickCommon(acrossCandidates, upCandidates, labels, s, metrics, marks)) {
        marks.acrossUpward = labels == Labels::Upward;
        marks.fit = true;
        return marks;
      }
    }
  }
  const bool upFits = pickOne(upCandidates, Labels::Across, kUpDensest, s, metrics, marks.up);
  bool acrossFits =
      pickOne(acrossCandidates, Labels::Along, kAcrossDensest, s, metrics, marks.across);
  if (!acrossFits) {
    AxisMarks turned;
    if (pickOne(acrossCandidates, Labels::Upward, kAcrossDensest, s, metrics, turned)) {
      marks.across = std::move(turned);
      marks.acrossUpward = true;
      acrossFits = true;
    }
  }
  marks.fit = upFits && acrossFits;
  return marks;
}

int acrossAxisHeight(const PlotMarks& marks, const TextSpacing& s) {
  const int labels = marks.acrossUpward ? static_cast<int>(std::ceil(marks.across.widest)) : s.cap;
  // The tick, the labels after a gap, two gaps, and the axis title's line.
  return 1 + s.tick + s.gap + labels + 2 * s.gap + s.line;
}

int upAxisWidth(const PlotMarks& marks, const TextSpacing& s) {
  // The tick, the labels, the descent of the title turned upward, and the title's line.
  return 1 + s.tick + s.gap + static_cast<int>(std::ceil(marks.up.widest)) + s.descent + s.line;
}

std::string axisTitle(const char* name, const std::string& units) {
  std::string title = name;
  if (!title.empty()) title[0] = static_cast<char>(title[0] - 'a' + 'A');
  if (!units.empty()) title.append(" (").append(units).append(")");
  return title;
}

void addPlotAxes(const PlotMarks& marks, const AxisSpan& across, const AxisSpan& up,
                 const PictureGeometry& g, const std::string& acrossTitle,
                 const std::string& upTitle, const TextSpacing& s, const TextMetrics& metrics,
                 PictureScene& scene) {
  const int plotBottom = g.plotTop + g.plotHeight;
  const auto units = [](double value) { return static_cast<int>(std::lround(value)); };

  // Across axis: ticks below the frame, labels under them, then the axis title.
  const double labelTop = plotBottom + 1 + s.tick + s.gap;
  const double acrossLabelLine = labelTop + s.cap / 2.0;
  for (size_t i = 0; i < marks.across.values.size(); ++i) {
    const double f = (marks.across.values[i] - across.low) / (across.high - across.low);
    const int x = g.plotLeft + std::min(g.plotWidth - 1, units(f * g.plotWidth));
    addRect(scene, x, plotBottom + 1, x + 1, plotBottom + 1 + s.tick, kInk);
    const std::string& label = marks.across.labels[i];
    if (marks.acrossUpward) {
      addText(scene, x + 0.5, labelTop, label, s.size, TextAlign::End, true);
    } else {
      const double half = metrics.width(label, s.size) / 2;
      addText(scene, std::clamp(x + 0.5, half, scene.width - half), acrossLabelLine, label, s.size,
              TextAlign::Centre);
    }
  }
  const double labelsBottom =
      labelTop + (marks.acrossUpward ? std::ceil(marks.across.widest) : s.cap);
  addText(scene, g.plotLeft + g.plotWidth / 2.0, labelsBottom + 2 * s.gap + s.cap / 2.0,
          acrossTitle, s.size, TextAlign::Centre);

  // Up axis: ticks left of the frame, labels against them, the axis title turned upward.
  const double labelsRight = g.plotLeft - 1 - s.tick - s.gap;
  for (size_t i = 0; i < marks.up.values.size(); ++i) {
    const double f = (up.high - marks.up.values[i]) / (up.high - up.low);
    const int y = g.plotTop + std::min(g.plotHeight - 1, units(f * g.plotHeight));
    addRect(scene, g.plotLeft - 1 - s.tick, y, g.plotLeft - 1, y + 1, kInk);
    addText(scene, labelsRight, y + 0.5, marks.up.labels[i], s.size, TextAlign::End);
  }
  // Turned upward, the title's descenders face the labels.
  const double titleLine =
      labelsRight - std::ceil(marks.up.widest) - s.gap - s.descent - s.cap / 2.0;
  addText(scene, titleLine, g.plotTop + g.plotHeight / 2.0, upTitle, s.size, TextAlign::Centre,
          true);
}
