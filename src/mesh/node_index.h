// An index over the nodes of a sorted axis that takes a coordinate to the few nodes around
// it in one step.
#pragma once

#include <algorithm>
#include <cstdint>

/// Most buckets an index holds: two a node on axes of up to 2048 nodes, and few enough to
/// stay in the cache beside the nodes on longer ones.
constexpr int32_t kMaxNodeBuckets = 4096;

/// Equal stretches (buckets) along a sorted axis, and the nodes that fall in each. A
/// coordinate's bucket is a monotone function of the coordinate, so every node of a
/// lower bucket lies before it along the axis and every node of a higher bucket beyond it.
struct NodeIndex {
  int32_t bucketCount = 0;  // 0: no index (the axis is not sorted)
  double origin = 0;        // where bucket 0 starts: node 1
  double scale = 0;         // buckets per unit along the axis; negative on a falling axis
  int32_t bucketStart[kMaxNodeBuckets + 1] = {};  // nodes (0-based) before bucket b
};

/// The bucket of `x`: its place (x - origin) * scale, cut to 0..bucketCount-1. Never
/// falls as x moves along the axis's direction, whatever the rounding.
inline int32_t bucketOf(const NodeIndex& index, double x) {
  const double place = (x - index.origin) * index.scale;
  // std::max keeps its first argument when the second is a NaN (an infinite difference
  // times a zero scale): such places fall in bucket 0, on an index of one bucket.
  const double inside = std::min(std::max(0.0, place), static_cast<double>(index.bucketCount - 1));
  return static_cast<int32_t>(inside);
}

/// Builds the index of `count` nodes that rise or fall (repeats allowed), none of them NaN.
void buildNodeIndex(NodeIndex& index, const double* nodes, int32_t count);
