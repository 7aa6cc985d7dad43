#include "check/warnings/snap_move.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "mesh/nearest_node.h"

namespace {

bool holds(double a, double b, double x) {
  return std::min(a, b) <= x && x <= std::max(a, b);
}

// The first node past `x` in the direction the nodes run, found by bisection.
template <typename Before>
int32_t cellBySearch(const NodeAxis& axis, double x, Before before) {
  const double* first = axis.nodes;
  const double* last = axis.nodes + axis.nodeCount;
  const double* past = std::upper_bound(first, last, x, before);
  if (past == first) return 0;  // before node 1
  if (past == last) {           // at or beyond the last node
    return x == last[-1] ? axis.nodeCount - 1 : 0;
  }
  return static_cast<int32_t>(past - first);  // node `past - first` .. the next hold x
}

}  // namespace

int32_t cellHolding(const NodeAxis& axis, double x) {
  if (axis.nodeCount < 2 || std::isnan(x)) return 0;
  switch (axis.order) {
    case NodeOrder::kRising:
      return cellBySearch(axis, x, std::less<double>());
    case NodeOrder::kFalling:
      return cellBySearch(axis, x, std::greater<double>());
    case NodeOrder::kUnsorted:
      break;
  }
  for (int32_t cell = 1; cell < axis.nodeCount; ++cell) {
    if (holds(axis.nodes[cell - 1], axis.nodes[cell], x)) return cell;
  }
  return 0;
}

SnapMove snapMove(const NodeAxis& axis, double bound) {
  SnapMove move;
  move.node = nearestNode(axis, bound);
  if (axis.nodeCount < 2) return move;
  if (move.node == 0) {
    move.tooFar = true;
    return move;
  }
  move.coordinate = axis.nodes[move.node - 1];
  move.distance = std::fabs(bound - move.coordinate);
  int32_t cell = cellHolding(axis, bound);
  if (cell == 0) cell = move.node == 1 ? 1 : move.node - 1;
  move.halfCell = std::fabs(axis.nodes[cell] - axis.nodes[cell - 1]) / 2;
  move.tooFar = move.distance > move.halfCell;
  return move;
}
