// Turning the widths read from the mesh file into node coordinates.
#pragma once

#include "mesh/node_axis.h"

/// Turns the widths held in nodes 2..m into coordinates by a running sum from node 1, in
/// index order (falling, for elevation: each width is subtracted), then classifies the
/// node order. An axis with no cells keeps its nodes as read.
void sumNodeWidths(NodeAxis& axis, bool falling);
