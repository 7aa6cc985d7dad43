#include "check/reading/mesh_summary.h"

#include <algorithm>
#include <cmath>

#include "companion/coordinate_text.h"

double sumRounding(double largest, int32_t index) {
  return std::ldexp(largest, -50) * index;
}

AxisSummary summariseAxis(const NodeAxis& axis, bool falling) {
  AxisSummary summary;
  summary.cells = std::max(axis.cellCount, 0);
  summary.hasNodes = axis.nodeCount > 0;
  if (!summary.hasNodes) return summary;
  summary.first = axis.nodes[0];
  summary.last = axis.nodes[axis.nodeCount - 1];
  summary.step = coordinateStep(axis.nodes, axis.nodeCount);
  if (axis.nodeCount <= kNodeTextsKept) {
    summary.nodeTexts.reserve(static_cast<size_t>(axis.nodeCount));
    for (int32_t k = 0; k < axis.nodeCount; ++k) {
      summary.nodeTexts.push_back(nodeText(axis.nodes, axis.nodeCount, k, summary.step));
    }
  }
  for (int32_t k = 0; k < axis.nodeCount; ++k) {
    const double node = axis.nodes[k];
    if (std::isnan(node)) continue;
    if (!summary.hasSpan || node < summary.low) {
      summary.low = node;
      summary.lowNode = k;
    }
    if (!summary.hasSpan || node > summary.high) {
      summary.high = node;
      summary.highNode = k;
    }
    summary.hasSpan = true;
  }
  if (summary.hasSpan) {
    double largest = 0;
    for (int32_t k = 0; k < axis.nodeCount; ++k) {
      if (std::isfinite(axis.nodes[k])) largest = std::max(largest, std::fabs(axis.nodes[k]));
    }
    summary.lowSlack = sumRounding(largest, summary.lowNode);
    summary.highSlack = sumRounding(largest, summary.highNode);
  }
  for (int32_t k = 0; k + 1 < axis.nodeCount; ++k) {
    const double size =
        falling ? axis.nodes[k] - axis.nodes[k + 1] : axis.nodes[k + 1] - axis.nodes[k];
    if (std::isnan(size)) continue;
    summary.smallest = summary.hasSizes ? std::min(summary.smallest, size) : size;
    summary.largest = summary.hasSizes ? std::max(summary.largest, size) : size;
    summary.hasSizes = true;
  }
  return summary;
}

MeshSummary summariseMesh(const Mesh& mesh) {
  MeshSummary summary;
  summary.easting = summariseAxis(mesh.easting, false);
  summary.northing = summariseAxis(mesh.northing, false);
  summary.elevation = summariseAxis(mesh.elevation, true);
  summary.cells = int64_t{summary.easting.cells} * summary.northing.cells * summary.elevation.cells;
  return summary;
}

std::string nodeShown(const NodeAxis& axis, const AxisSummary& summary, int32_t index) {
  if (summary.nodeTexts.empty()) return nodeText(axis.nodes, axis.nodeCount, index, summary.step);
  return summary.nodeTexts[static_cast<size_t>(index)];
}

std::string distanceShown(const AxisSummary& summary, double distance) {
  return steppedText(distance, summary.step);
}
