#include "mesh/node_sums.h"

#include "mesh/flush_subnormal.h"
#include "mesh/node_order.h"

void sumNodeWidths(NodeAxis& axis, bool falling) {
  double* nodes = axis.nodes;
  // Node k is the rounded sum of the already rounded node k-1 and width k-1: the order of
  // summation fixes the last bit of every node, so it must stay strictly sequential.
  if (axis.cellCount > 0) {
    for (int32_t k = 1; k < axis.nodeCount; ++k) {
      nodes[k] = flushSubnormal(falling ? nodes[k - 1] - nodes[k] : nodes[k - 1] + nodes[k]);
    }
  }
  classifyNodeOrder(axis);
}
