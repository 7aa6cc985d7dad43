// What a user needs to know about a mesh to judge block bounds against it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mesh/mesh.h"

/// One axis of the mesh: its cells, where it starts and ends, and its cell sizes.
struct AxisSummary {
  int32_t cells = 0;      // cells boxpaint paints along the axis: max(n, 0)
  bool hasNodes = false;  // false for a negative count: not even the origin is kept
  double first = 0;       // node 1: the origin (the top, for elevation)
  double last = 0;        // node n+1: the far end (the bottom, for elevation)
  bool hasSpan = false;   // some node is not NaN
  double low = 0;         // the smallest node, NaN nodes left out
  double high = 0;        // the largest node, NaN nodes left out
  int32_t lowNode = 0;    // the index (from 0) of the node `low`
  int32_t highNode = 0;   // the index (from 0) of the node `high`
  double lowSlack = 0;    // how far the running sums may have moved `low` (see sumRounding)
  double highSlack = 0;   // likewise `high`
  double step = 0;        // the finest step its coordinates are shown to (coordinateStep)
  bool hasSizes = false;  // some cell has a size that is not NaN
  double smallest = 0;    // the smallest cell size (elevation: thickness, top down)
  double largest = 0;     // the largest cell size
  // Every node's text, by index, made once: a report names the same nodes of an axis
  // many times over, from two threads. Empty for an axis of more than kNodeTextsKept
  // nodes, whose nodes are made each time they are named.
  std::vector<std::string> nodeTexts;
};

/// Most nodes of an axis whose texts the summary makes at once: a few milliseconds.
constexpr int32_t kNodeTextsKept = 16384;

/// The three axes and the number of cells of the model.
struct MeshSummary {
  AxisSummary easting, northing, elevation;
  int64_t cells = 0;
};

/// How far node `index` (from 0) of an axis whose largest coordinate in size is `largest`
/// may lie from the origin plus the widths as typed: index x 2^-50 x largest. Each running
/// sum rounds by at most half a unit in the last place of `largest` (2^-53 of it), and the
/// width it adds, as read, by at most twice that; the rest covers a bound's own rounding.
/// The origin is read as the bounds are: node 0 is where it was typed.
double sumRounding(double largest, int32_t index);

/// Summarises one axis. Cell sizes are taken from the nodes as boxpaint snaps to them:
/// node k+1 - node k along easting and northing, node k - node k+1 along elevation.
AxisSummary summariseAxis(const NodeAxis& axis, bool falling);

/// Summarises the mesh.
MeshSummary summariseMesh(const Mesh& mesh);

/// Node `index` (from 0) of `axis` as people read it: without the noise of the running
/// sums, with the digits that tell it from the nodes beside it (see nodeText).
std::string nodeShown(const NodeAxis& axis, const AxisSummary& summary, int32_t index);

/// A distance along an axis, worked out from its nodes, as people read it: down to the
/// axis's step (see steppedText).
std::string distanceShown(const AxisSummary& summary, double distance);
