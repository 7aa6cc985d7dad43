// The library's mesh as the internal libraries take it.
#pragma once

#include <memory>

#include "boxpaint/failure.h"
#include "boxpaint/mesh.h"
#include "mesh/mesh.h"

/// Makes in `internal` the mesh the painter and the snapping take, its node arrays those
/// of `mesh` (which must outlive it) and its search tables built. Fails with kBadArgument
/// when an axis's nodes are not max(cellCount + 1, 0).
boxpaint::Failure internalMesh(const boxpaint::Mesh& mesh, std::unique_ptr<Mesh>& internal);
