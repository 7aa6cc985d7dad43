#include "mesh/node_order.h"

#include <cmath>

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
  // The searches guess where a coordinate lies from a straight line through the end nodes.
  axis.guessScale = 0;
  if (axis.order != NodeOrder::kUnsorted && axis.nodeCount > 2) {
    const double span = nodes[axis.nodeCount - 1] - nodes[0];
    const double scale = (axis.nodeCount - 1) / span;
    if (std::isfinite(span) && span != 0 && std::isfinite(scale)) axis.guessScale = scale;
  }
}
