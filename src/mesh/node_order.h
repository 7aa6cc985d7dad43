// Whether an axis's nodes rise, fall or neither, for the nearest-node search.
#pragma once

#include "mesh/node_axis.h"

/// Records in axis.order whether the nodes rise or fall (ties allowed) and builds the index
/// of a sorted axis; call after the nodes are final. An axis with a NaN node, or one that
/// zigzags, stays kUnsorted.
void classifyNodeOrder(NodeAxis& axis);
