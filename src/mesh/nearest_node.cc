#include "mesh/nearest_node.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "mesh/node_distance.h"

namespace {

// First index (0-based) in [0, last] whose distance equals that of node `last`, on a stretch
// where distances never rise with the index. Most often that is `last` itself; a longer run
// of equal distances (repeated nodes, or far nodes whose differences round alike) is bisected.
int32_t firstOfEqualRun(const double* nodes, int32_t last, double x, double distance) {
  if (last == 0 || nodeDistance(nodes[last - 1], x) > distance) return last;
  int32_t low = 0;
  int32_t high = last - 1;  // its distance equals `distance`
  while (low < high) {
    const int32_t middle = low + (high - low) / 2;
    if (nodeDistance(nodes[middle], x) <= distance) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

// The first index (0-based) of the `count` nodes for which `before` is false, where it is
// true for a leading stretch and false after it, by halving. No branch depends on the
// nodes' values: block bounds fall anywhere, so such a branch would be mispredicted half
// the time.
template <typename Before>
int32_t bisectFirstNotBefore(const double* nodes, int32_t count, Before before) {
  if (count <= 0) return 0;
  int32_t first = 0;
  int32_t left = count;
  while (left > 1) {
    const int32_t half = left / 2;
    first += half * static_cast<int32_t>(before(nodes[first + half - 1]));
    left -= half;
  }
  return first + static_cast<int32_t>(before(nodes[first]));
}

// The same index, found through the axis's index: every node of a bucket below x's lies
// before x and every node of a bucket above it beyond, so the answer lies among the nodes
// of x's own bucket or just after them. Most buckets hold one node or none.
template <typename Before>
int32_t firstNotBefore(const NodeAxis& axis, double x, Before before) {
  const int32_t bucket = bucketOf(axis.index.grid, x);
  const int32_t first = axis.index.bucketStart[bucket];
  const int32_t count = axis.index.bucketStart[bucket + 1] - first;
  if (count <= 1) {
    // Whether the bucket holds its node or none is a coin toss: no branch on it. The node
    // read lies inside the axis even when the bucket is empty.
    const bool nodeBefore = before(axis.nodes[std::min(first, axis.nodeCount - 1)]);
    return first + static_cast<int32_t>((count == 1) & nodeBefore);
  }
  return first + bisectFirstNotBefore(axis.nodes + first, count, before);
}

}  // namespace

int32_t nearestNodeSequential(const NodeAxis& axis, double x) {
  double best = kDistanceBound;
  int32_t result = 0;
  for (int32_t i = 1; i <= axis.nodeCount; ++i) {
    const double distance = nodeDistance(axis.nodes[i - 1], x);
    if (distance < best) {
      best = distance;
      result = i;
    }
  }
  return result;
}

// On a sorted axis the rounded differences node - x never fall along the direction of the
// axis (rounding is monotone), so the distances never rise up to the last node before x and
// never fall from the first node on or beyond x. The minimum is at one of these two nodes;
// ties go to the lower index, which on the near side may be the start of a run of equal
// distances.
int32_t nearestNode(const NodeAxis& axis, double x) {
  const int32_t count = axis.nodeCount;
  if (axis.order == NodeOrder::kUnsorted || count <= 0) return nearestNodeSequential(axis, x);
  // An infinite or NaN x is infinitely far from, or unordered with, every node.
  if (!std::isfinite(x)) return 0;
  // Most coordinates fall where the table has the answer ready.
  const int32_t snapped = axis.snaps.node[bucketOf(axis.snaps.grid, x)];
  if (snapped != kUndecidedSnap) return snapped;

  const double* nodes = axis.nodes;
  const int32_t firstBeyond = axis.order == NodeOrder::kRising
                                  ? firstNotBefore(axis, x, [x](double n) { return n < x; })
                                  : firstNotBefore(axis, x, [x](double n) { return n > x; });

  // Which of the two neighbours is nearer is a coin toss too: both are read, from indices
  // kept inside the axis, and one is selected. A neighbour beyond an end is infinitely far.
  constexpr double kFar = std::numeric_limits<double>::infinity();
  const int32_t lastBefore = firstBeyond - 1;
  double beyondDistance = nodeDistance(nodes[std::min(firstBeyond, count - 1)], x);
  if (firstBeyond == count) beyondDistance = kFar;
  double beforeDistance = nodeDistance(nodes[std::max(lastBefore, 0)], x);
  if (lastBefore < 0) beforeDistance = kFar;
  const bool nearSide = beforeDistance <= beyondDistance;
  int32_t best = firstBeyond - static_cast<int32_t>(nearSide);
  const double bestDistance = std::min(beyondDistance, beforeDistance);
  // Rarely, the node before the nearer one is as near: a run of equal distances on the near
  // side. (Before the node beyond lies the near one, farther when the node beyond won.)
  if (best > 0 && nodeDistance(nodes[best - 1], x) <= bestDistance) {
    best = firstOfEqualRun(nodes, best, x, bestDistance);
  }
  return bestDistance < kDistanceBound ? best + 1 : 0;
}
