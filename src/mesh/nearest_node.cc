#include "mesh/nearest_node.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "mesh/flush_subnormal.h"

namespace {

// A node counts only when its distance is strictly below this bound.
constexpr double kDistanceBound = 1e50;

// The distance the search compares: one rounded subtraction, its magnitude, flushed.
inline double nodeDistance(double node, double x) {
  return flushSubnormal(std::fabs(node - x));
}

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

// The same index, found first by a guess: on most meshes the cells are even or vary
// gently, so the place a straight line through the end nodes gives `x` lies within a few
// nodes of the answer, which a short walk reaches. Farther off, halving takes over.
template <typename Before>
int32_t firstNotBefore(const double* nodes, int32_t count, double x, double guessScale,
                       Before before) {
  int32_t guess = 0;
  const double place = (x - nodes[0]) * guessScale;
  if (place >= count - 1) {
    guess = count - 1;
  } else if (place > 0) {
    guess = static_cast<int32_t>(place);
  }
  constexpr int kWalk = 4;
  if (before(nodes[guess])) {
    for (int step = 0; step < kWalk; ++step) {
      if (++guess == count || !before(nodes[guess])) return guess;
    }
    return guess + bisectFirstNotBefore(nodes + guess, count - guess, before);
  }
  for (int step = 0; step < kWalk; ++step) {
    if (guess == 0 || before(nodes[guess - 1])) return guess;
    --guess;
  }
  return bisectFirstNotBefore(nodes, guess, before);
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

  const double* nodes = axis.nodes;
  const int32_t firstBeyond =
      axis.order == NodeOrder::kRising
          ? firstNotBefore(nodes, count, x, axis.guessScale, [x](double n) { return n < x; })
          : firstNotBefore(nodes, count, x, axis.guessScale, [x](double n) { return n > x; });

  int32_t best = firstBeyond;
  double bestDistance = std::numeric_limits<double>::infinity();
  if (firstBeyond < count) bestDistance = nodeDistance(nodes[firstBeyond], x);
  if (firstBeyond > 0) {
    const int32_t lastBefore = firstBeyond - 1;
    const double distance = nodeDistance(nodes[lastBefore], x);
    if (distance <= bestDistance) {
      best = firstOfEqualRun(nodes, lastBefore, x, distance);
      bestDistance = distance;
    }
  }
  return bestDistance < kDistanceBound ? best + 1 : 0;
}
