#include "mesh/node_index.h"

#include <algorithm>
#include <cmath>

BucketGrid gridOverNodes(const double* nodes, int32_t count, int32_t wanted) {
  BucketGrid grid;
  grid.bucketCount = std::max(wanted, 1);
  grid.origin = count > 0 ? nodes[0] : 0;
  grid.scale = 0;
  if (count > 1) {
    const double span = nodes[count - 1] - nodes[0];
    const double scale = grid.bucketCount / span;
    // An infinite end node or a span too small for the bucket count leaves one bucket.
    if (std::isfinite(span) && span != 0 && std::isfinite(scale)) grid.scale = scale;
  }
  // The sign of the scale carries the direction: places grow along the axis either way.
  if (grid.scale == 0) grid.bucketCount = 1;
  return grid;
}

void buildNodeIndex(NodeIndex& index, const double* nodes, int32_t count) {
  // Two buckets a node: on an axis of even or gently varying cells most buckets then hold
  // one node or none.
  index.grid = gridOverNodes(
      nodes, count,
      static_cast<int32_t>(std::clamp<int64_t>(int64_t{count} * 2, 1, kMaxNodeBuckets)));
  // Buckets of the nodes never fall with the node index, so each start is found by halving.
  const double* from = nodes;
  const double* end = nodes + std::max(count, 0);
  index.bucketStart[0] = 0;
  for (int32_t b = 1; b <= index.grid.bucketCount; ++b) {
    from = std::partition_point(from, end,
                                [&](double node) { return bucketOf(index.grid, node) < b; });
    index.bucketStart[b] = static_cast<int32_t>(from - nodes);
  }
}
