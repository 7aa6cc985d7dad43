// Snapping a coordinate to the nearest node of an axis.
#pragma once

#include <cstdint>

#include "mesh/node_axis.h"

/// Index (1-based) of the node nearest x: only nodes strictly closer than 1e50 count, the
/// lowest index wins among equally near ones, and 0 means no node qualifies (no nodes, x
/// NaN or infinite). Sorted axes (see classifyNodeOrder) are searched through their index.
int32_t nearestNode(const NodeAxis& axis, double x);

/// The same result by scanning every node in index order; the reference for nearestNode.
int32_t nearestNodeSequential(const NodeAxis& axis, double x);
