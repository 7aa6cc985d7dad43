#include "mesh/snap_table.h"

#include <algorithm>
#include <cmath>

#include "mesh/node_distance.h"

namespace {

// The node every coordinate from `near` to `far` snaps to, where `near` lies just beyond
// node p (0-based), `far` just before node p + 1 and nothing else between them; or
// kUndecidedSnap. Moving from `near` to `far` takes x away from p and every node before
// it, and towards p + 1, so each distance is largest or smallest at one end; rounding
// never reverses that.
int32_t snapBetween(const double* nodes, int32_t p, double near, double far) {
  const double before = nodes[p];
  const double beyond = nodes[p + 1];
  // The node before wins the whole bucket, ties included, where it wins at the far end;
  // unless the node before it ties somewhere, which it cannot when its least distance
  // exceeds the node's greatest.
  if (nodeDistance(before, far) <= nodeDistance(beyond, far)) {
    const bool earlierTies = p > 0 && nodeDistance(nodes[p - 1], near) <= nodeDistance(before, far);
    if (earlierTies || nodeDistance(before, far) >= kDistanceBound) return kUndecidedSnap;
    return p + 1;
  }
  // The node beyond wins the whole bucket, strictly, where it wins at the near end.
  if (nodeDistance(before, near) > nodeDistance(beyond, near)) {
    if (nodeDistance(beyond, near) >= kDistanceBound) return kUndecidedSnap;
    return p + 2;
  }
  return kUndecidedSnap;
}

}  // namespace

void buildSnapTable(SnapTable& table, const double* nodes, int32_t count, bool rising) {
  // Sixteen buckets a cell, and one more, so that on an axis of equal cells the nodes and
  // the points halfway between them fall inside buckets rather than on their edges:
  // fourteen buckets of every sixteen are then decided, and only one coordinate in eight
  // is searched.
  const int64_t wanted = int64_t{std::max(count - 1, 0)} * 16 + 1;
  table.grid =
      gridOverNodes(nodes, count, static_cast<int32_t>(std::min<int64_t>(wanted, kMaxSnapBuckets)));
  const BucketGrid& grid = table.grid;
  const int32_t buckets = grid.bucketCount;
  std::fill(table.node, table.node + buckets, kUndecidedSnap);
  // Walking the buckets along the axis, `p` is the last node before the current bucket.
  int32_t p = -1;
  const auto before = [rising](double node, double x) { return rising ? node < x : node > x; };
  // The first and last buckets take every coordinate beyond the ends: never decided.
  for (int32_t b = 1; b < buckets - 1; ++b) {
    // The bucket's edges, widened by far more than the rounding of the place, then checked:
    // every coordinate of the bucket lies strictly between `near` and `far`, since the
    // bucket of a coordinate never falls along the axis.
    const double start = grid.origin + b / grid.scale;
    const double end = grid.origin + (b + 1) / grid.scale;
    const double margin = (std::fabs(grid.origin) + std::fabs(start) + std::fabs(end)) * 0x1p-40;
    const double widen = rising ? margin : -margin;
    const double near = start - widen;
    const double far = end + widen;
    if (!std::isfinite(near) || !std::isfinite(far) || bucketOf(grid, near) >= b ||
        bucketOf(grid, far) <= b) {
      continue;
    }
    // Halving over the nodes left, so that an axis of millions of nodes and a few thousand
    // buckets is not walked node by node.
    if (p + 1 < count && before(nodes[p + 1], near)) {
      const double* after = std::partition_point(nodes + p + 1, nodes + count,
                                                 [&](double node) { return before(node, near); });
      p = static_cast<int32_t>(after - nodes) - 1;
    }
    // Between two nodes: the one before the near edge, the next beyond the far edge.
    if (p < 0 || p + 1 >= count || !before(nodes[p], near) || !before(far, nodes[p + 1])) {
      continue;
    }
    table.node[b] = snapBetween(nodes, p, near, far);
  }
}
