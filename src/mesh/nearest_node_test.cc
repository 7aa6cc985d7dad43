#include "mesh/nearest_node.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "mesh/node_axis_testing.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct NearestCase {
  const char* name;
  std::vector<double> nodes;
  double x;
  int32_t expected;
};

TEST(NearestNodeTest, SnapsToTheNearestLowestIndexNode) {
  const NearestCase cases[] = {
      {"halfway goes to the lower index", {0, 10, 20}, 5, 1},
      {"exactly between 2 and 3 goes to 2", {0, 10, 20}, 15, 2},
      {"just past halfway", {0, 10, 20}, 15.000001, 3},
      {"below the axis", {0, 10, 20}, -7, 1},
      {"above the axis", {0, 10, 20}, 1000, 3},
      {"falling: halfway goes to the higher node", {100, 90, 80}, 95, 1},
      {"falling: below the bottom", {100, 90, 80}, 79, 3},
      {"repeated node: first of the pair", {0, 10, 10, 20}, 10, 2},
      {"repeated node approached from above", {0, 10, 10, 20}, 12, 2},
      {"single node", {3}, -1e49, 1},
      {"single node too far", {3}, 1e50, 0},
      {"no nodes", {}, 0, 0},
      {"x NaN", {0, 10}, kNaN, 0},
      {"x +infinity", {0, 10}, kInf, 0},
      {"x -infinity", {0, 10}, -kInf, 0},
      {"both distances round to the bound", {0, 10}, 1e50, 0},
      {"both distances round to 9e49: a tie", {0, 10}, 9e49, 1},
      {"just inside the bound from below", {0, 10}, -std::nextafter(1e50, 0.0), 1},
      {"zigzag axis", {0, 20, 10}, 12, 3},
      {"NaN node is skipped", {kNaN, 5}, 4, 2},
      {"infinite end nodes never count", {-kInf, 0, kInf}, 1e40, 2},
      {"infinite nodes only", {-kInf, kInf}, 0, 0},
      // A subnormal distance is flushed to zero and ties with an exact hit.
      {"flushed distance ties with exact", {1e-310, 0}, 0, 1},
      {"flushed distance, rising", {0, 1e-310}, 1e-310, 1},
      {"normal distance does not tie", {3e-308, 0}, 0, 2},
  };
  for (const NearestCase& c : cases) {
    std::vector<double> nodes = c.nodes;
    const NodeAxis axis = axisOver(nodes);
    EXPECT_EQ(nearestNodeSequential(axis, c.x), c.expected) << c.name;
    EXPECT_EQ(nearestNode(axis, c.x), c.expected) << c.name;
  }
}

// Axes of the shapes that stress the sorted search and its index: runs of equal nodes,
// nodes one ulp apart, cells that grow or come in clusters (many nodes in one bucket),
// axes longer than the index has buckets for, magnitudes around the 1e50 bound and the
// subnormal range, infinite ends, and some that are not sorted at all.
std::vector<double> randomAxis(std::mt19937_64& rng) {
  static const double kScales[] = {1e-310, 1e-307, 1e-20, 1, 1e3, 1e16, 1e49, 1e50, 1e51, 1e300};
  auto pick = [&rng](size_t n) { return static_cast<size_t>(rng() % n); };
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double scale = kScales[pick(std::size(kScales))];
  const size_t count = pick(800) == 0 ? 2 * kMaxNodeBuckets + pick(3000)
                       : pick(8) == 0 ? pick(300)
                                      : pick(12);
  const int shape = static_cast<int>(pick(8));
  const double sign = pick(2) == 0 ? 1.0 : -1.0;
  std::vector<double> nodes;
  double node = (unit(rng) - 0.5) * scale * 4;
  for (size_t k = 0; k < count; ++k) {
    nodes.push_back(node);
    switch (shape) {
      case 0:  // plain widths
        node += sign * unit(rng) * scale;
        break;
      case 1:  // widths that are often zero
        if (pick(2) == 0) node += sign * unit(rng) * scale;
        break;
      case 2:  // neighbours a few ulps apart
        for (size_t step = pick(3); step > 0; --step) node = std::nextafter(node, sign * kInf);
        break;
      case 3:  // steps that are sometimes tiny against the node itself
        node += sign * (pick(2) == 0 ? unit(rng) * scale : unit(rng) * scale * 1e-17);
        break;
      case 4:  // zigzag: not sorted
        node += (unit(rng) - 0.5) * scale;
        break;
      case 5:  // cells that grow along the axis
        node += sign * scale * 1e-3 * std::pow(1.1, static_cast<double>(k % 400));
        break;
      case 6:  // clusters of close nodes between wide gaps
        node += sign * (pick(16) == 0 ? unit(rng) * scale : unit(rng) * scale * 1e-6);
        break;
      default:  // constant
        break;
    }
  }
  if (!nodes.empty() && pick(10) == 0) nodes.front() = -sign * kInf;
  if (!nodes.empty() && pick(10) == 0) nodes.back() = sign * kInf;
  if (!nodes.empty() && pick(20) == 0) nodes[pick(nodes.size())] = kNaN;
  if (!nodes.empty() && pick(10) == 0) nodes[pick(nodes.size())] *= -0.0;
  return nodes;
}

// Coordinates on, beside and halfway between nodes, and far outside the axis.
std::vector<double> probesFor(const std::vector<double>& nodes, std::mt19937_64& rng) {
  std::vector<double> xs = {0.0, -0.0, kNaN, kInf, -kInf, 1e50, -1e50, 5e-324, 1e-310};
  auto around = [&xs](double v) {
    xs.insert(xs.end(), {v, std::nextafter(v, -kInf), std::nextafter(v, kInf)});
  };
  for (size_t k = 0; k < nodes.size(); ++k) {
    around(nodes[k]);
    around(nodes[k] + 1e50);
    around(nodes[k] - 1e50);
    if (k + 1 < nodes.size()) {
      around(nodes[k] / 2 + nodes[k + 1] / 2);
      std::uniform_real_distribution<double> between(0.0, 1.0);
      xs.push_back(nodes[k] + (nodes[k + 1] - nodes[k]) * between(rng));
    }
  }
  return xs;
}

TEST(NearestNodeTest, IndexedSearchMatchesTheSequentialScan) {
  std::mt19937_64 rng(20240607);
  int sortedAxes = 0;
  int crowdedBuckets = 0;  // buckets of more than one node, searched by halving
  int decidedBuckets = 0;  // buckets whose node the snap table holds
  int probes = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    std::vector<double> nodes = randomAxis(rng);
    const NodeAxis axis = axisOver(nodes);
    sortedAxes += axis.order != NodeOrder::kUnsorted;
    for (int32_t b = 0; b < axis.index.grid.bucketCount; ++b) {
      crowdedBuckets += axis.index.bucketStart[b + 1] - axis.index.bucketStart[b] > 1;
    }
    std::vector<double> xs = probesFor(nodes, rng);
    // Beside the edges of the snap table's buckets, where a bucket's node is decided.
    const SnapTable& snaps = axis.snaps;
    for (int32_t b = 0; b < snaps.grid.bucketCount && b < 64; ++b) {
      decidedBuckets += snaps.node[b] != kUndecidedSnap;
      const double edge = snaps.grid.origin + b / snaps.grid.scale;
      xs.insert(xs.end(), {edge, std::nextafter(edge, -kInf), std::nextafter(edge, kInf)});
    }
    // On long axes a sample of the probes is enough, and keeps the scans short.
    if (xs.size() > 1000) {
      std::shuffle(xs.begin(), xs.end(), rng);
      xs.resize(1000);
    }
    for (double x : xs) {
      ++probes;
      ASSERT_EQ(nearestNode(axis, x), nearestNodeSequential(axis, x))
          << "trial " << trial << " x " << x << " order " << static_cast<int>(axis.order);
    }
  }
  // Most axes must take the sorted search, or the comparison proves little.
  EXPECT_GT(sortedAxes, 20000 * 3 / 4);
  EXPECT_GT(crowdedBuckets, 10000);
  EXPECT_GT(decidedBuckets, 20000);
  EXPECT_GT(probes, 1000000);
}

}  // namespace
