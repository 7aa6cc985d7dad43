// An index over the nodes of a sorted axis that takes a coordinate to the few nodes around
// it in one step.
#pragma once

#include <algorithm>
#include <cstdint>

/// Equal stretches (buckets) along a sorted axis, from node 1 to its last node. A
/// coordinate's bucket is a monotone function of the coordinate, so every node of a lower
/// bucket lies before it along the axis and every node of a higher bucket beyond it.
struct BucketGrid {
  int32_t bucketCount = 0;  // 0: no grid (the axis is not sorted)
  double origin = 0;        // where bucket 0 starts: node 1
  double scale = 0;         // buckets per unit along the axis; negative on a falling axis
};

/// The bucket of `x`: its place (x - origin) * scale, cut to 0..bucketCount-1. Never
/// falls as x moves along the axis's direction, whatever the rounding.
inline int32_t bucketOf(const BucketGrid& grid, double x) {
  const double place = (x - grid.origin) * grid.scale;
  // std::max keeps its first argument when the second is a NaN (an infinite difference
  // times a zero scale): such places fall in bucket 0, on a grid of one bucket.
  const double inside = std::min(std::max(0.0, place), static_cast<double>(grid.bucketCount - 1));
  return static_cast<int32_t>(inside);
}

/// A grid of `wanted` buckets (at least 1) over the `count` nodes that rise or fall
/// (repeats allowed), none of them NaN; one bucket where the span is infinite, zero, or
/// too small for that many.
BucketGrid gridOverNodes(const double* nodes, int32_t count, int32_t wanted);

/// Most buckets an index holds: two a node on axes of up to 2048 nodes, and few enough to
/// stay in the cache beside the nodes on longer ones.
constexpr int32_t kMaxNodeBuckets = 4096;

/// A grid over the axis and the nodes that fall in each of its buckets.
struct NodeIndex {
  BucketGrid grid;
  int32_t bucketStart[kMaxNodeBuckets + 1] = {};  // nodes (0-based) before bucket b
};

/// Builds the index of `count` nodes that rise or fall (repeats allowed), none of them NaN.
void buildNodeIndex(NodeIndex& index, const double* nodes, int32_t count);
