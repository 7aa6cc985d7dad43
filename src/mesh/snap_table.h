// The node each stretch of a sorted axis snaps to, where one node takes the whole stretch:
// most coordinates then snap with one multiplication and one look-up.
#pragma once

#include <cstdint>

#include "mesh/node_index.h"

/// Most buckets a snap table holds: sixteen a cell on axes of up to 511 cells.
constexpr int32_t kMaxSnapBuckets = 8191;

/// Marks a bucket whose coordinates do not all snap to one node.
constexpr int32_t kUndecidedSnap = -1;

/// A grid over a sorted axis, finer than its node index, and for each bucket the node
/// (1-based) that every coordinate in it snaps to, or kUndecidedSnap.
struct SnapTable {
  BucketGrid grid;
  int32_t node[kMaxSnapBuckets] = {};
};

/// Builds the table of `count` nodes that rise (`rising`) or fall, repeats allowed, none
/// of them NaN. A bucket gets its node only where that is certain: its coordinates lie
/// strictly between two neighbouring nodes and one of them is nearer than every other
/// node for all of them. Buckets holding a node, a point halfway between two nodes or an
/// end of the axis stay undecided and are searched.
void buildSnapTable(SnapTable& table, const double* nodes, int32_t count, bool rising);
