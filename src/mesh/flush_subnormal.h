// Subnormal results flushed to zero, so that the mesh arithmetic never depends on the
// processor's floating-point mode.
#pragma once

#include <cfloat>
#include <cmath>

/// Returns v, or zero of v's sign when v is subnormal (below the smallest normal magnitude).
/// Every sum and difference the mesh arithmetic names goes through this, so results do not
/// depend on the processor's floating-point mode, which is never changed.
inline double flushSubnormal(double v) {
  return std::fabs(v) < DBL_MIN ? std::copysign(0.0, v) : v;
}
