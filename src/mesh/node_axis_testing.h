// For tests: an axis over nodes the test holds.
#pragma once

#include <cstdint>
#include <vector>

#include "mesh/node_axis.h"
#include "mesh/node_order.h"

/// For tests: a classified axis over the caller's nodes, one cell fewer than nodes.
inline NodeAxis axisOver(std::vector<double>& nodes) {
  NodeAxis axis;
  axis.nodeCount = static_cast<int32_t>(nodes.size());
  axis.cellCount = axis.nodeCount - 1;
  axis.nodes = nodes.data();
  classifyNodeOrder(axis);
  return axis;
}
