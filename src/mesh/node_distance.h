// How far a coordinate lies from a node, as the snapping rule measures it.
#pragma once

#include <cmath>

#include "mesh/flush_subnormal.h"

/// A node counts for snapping only when its distance is strictly below this bound.
constexpr double kDistanceBound = 1e50;

/// The distance the snapping rule compares: one rounded subtraction, its magnitude,
/// flushed. It never falls as x moves away from the node, whatever the rounding.
inline double nodeDistance(double node, double x) {
  return flushSubnormal(std::fabs(node - x));
}
