#include "check/mesh_summary.h"

#include <algorithm>
#include <cmath>

AxisSummary summariseAxis(const NodeAxis& axis, bool falling) {
  AxisSummary summary;
  summary.cells = std::max(axis.cellCount, 0);
  summary.hasNodes = axis.nodeCount > 0;
  if (!summary.hasNodes) return summary;
  summary.first = axis.nodes[0];
  summary.last = axis.nodes[axis.nodeCount - 1];
  for (int32_t k = 0; k < axis.nodeCount; ++k) {
    const double node = axis.nodes[k];
    if (std::isnan(node)) continue;
    summary.low = summary.hasSpan ? std::min(summary.low, node) : node;
    summary.high = summary.hasSpan ? std::max(summary.high, node) : node;
    summary.hasSpan = true;
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
