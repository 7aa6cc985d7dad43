// One axis of the mesh: its cell count and its node coordinates.
#pragma once

#include <cstdint>

#include "mesh/node_index.h"
#include "mesh/snap_table.h"

/// How the nodes of an axis are ordered; nearestNode uses it to pick its search.
enum class NodeOrder : int8_t {
  kUnsorted,  ///< not known to be sorted (or holding a NaN): searched node by node
  kRising,    ///< each node >= the one before it
  kFalling,   ///< each node <= the one before it
};

/// One axis of the mesh: its cell count as read and its node coordinates.
struct NodeAxis {
  int32_t cellCount = 0;    // n as read from the mesh file; may be <= 0
  int32_t nodeCount = 0;    // m = max(n + 1, 0)
  double* nodes = nullptr;  // nodes[k - 1] holds node k, k = 1..nodeCount
  // Set by classifyNodeOrder; must be set again whenever the nodes change.
  NodeOrder order = NodeOrder::kUnsorted;
  NodeIndex index;  // over the nodes of a sorted axis; no buckets on an unsorted one
  SnapTable snaps;  // likewise
};
