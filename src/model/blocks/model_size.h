// The size rule every model keeps, though it is never held whole.
#pragma once

#include "mesh/mesh.h"
#include "runtime/diagnostics/failure.h"

/// Message 179 when the model of `mesh` as doubles (max(n, 0) cells along
/// elevation, easting and northing, then 8 bytes each) has a byte size that overflows the
/// 32-bit arithmetic that bounds it, at any of its multiplications. Allocates nothing.
Failure checkModelSize(const Mesh& mesh);
