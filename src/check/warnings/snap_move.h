// How far a block bound moves when boxpaint snaps it to its nearest node.
#pragma once

#include <cstdint>

#include "mesh/node_axis.h"

/// A bound, the node it snaps to and the cell it is judged against.
struct SnapMove {
  int32_t node = 0;       // the node it snaps to (from 1); 0: none (NaN, infinite, too far)
  double coordinate = 0;  // that node's coordinate
  double distance = 0;    // |bound - coordinate|
  double halfCell = 0;    // half the width of the cell the bound lies in (see snapMove)
  bool tooFar = false;    // snaps to no node, or moves by more than halfCell
};

/// The cell (from 1) whose two nodes hold `x` between them, the lowest such cell on an
/// axis whose nodes zigzag; 0 when none does (x beyond the ends, or NaN).
int32_t cellHolding(const NodeAxis& axis, double x);

/// Snaps `bound` on `axis` as boxpaint does and judges the move. The cell judged against
/// is the cell that holds the bound; for a bound beyond the ends of the mesh, the cell
/// between the node it snaps to and that node's neighbour (node k-1; node 2 for node 1).
/// An axis of fewer than two nodes has no cell, and no move is too far on it.
SnapMove snapMove(const NodeAxis& axis, double bound);
