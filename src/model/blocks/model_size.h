// The size rule every model keeps, though it is never held whole.
#pragma once

#include "mesh/mesh.h"

/// Ends the run with message 179 when the model of `mesh` as doubles (max(n, 0) cells along
/// elevation, easting and northing, then 8 bytes each) has a byte size that overflows the
/// 32-bit arithmetic that bounds it, at any of its multiplications. Allocates nothing.
void checkModelSize(const Mesh& mesh);
