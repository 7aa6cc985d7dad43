#include "mesh/node_order.h"

void classifyNodeOrder(NodeAxis& axis) {
  const double* nodes = axis.nodes;
  bool rising = true;
  bool falling = true;
  // Comparisons with a NaN are false, so a NaN node clears both.
  for (int32_t k = 1; k < axis.nodeCount; ++k) {
    rising = rising && nodes[k] >= nodes[k - 1];
    falling = falling && nodes[k] <= nodes[k - 1];
  }
  if (axis.nodeCount == 1) {
    rising = nodes[0] == nodes[0];
    falling = false;
  }
  axis.order = rising ? NodeOrder::kRising : falling ? NodeOrder::kFalling : NodeOrder::kUnsorted;
  axis.index.grid.bucketCount = 0;
  axis.snaps.grid.bucketCount = 0;
  if (axis.order != NodeOrder::kUnsorted) {
    buildNodeIndex(axis.index, nodes, axis.nodeCount);
    buildSnapTable(axis.snaps, nodes, axis.nodeCount, axis.order == NodeOrder::kRising);
  }
}
