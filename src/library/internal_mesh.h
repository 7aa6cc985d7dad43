// The library's mesh as the internal libraries take it.
#pragma once

#include <memory>

#include "boxpaint/failure.h"
#include "boxpaint/mesh.h"
#include "mesh/mesh.h"

/// Makes the node coordinates of `axis` from its origin and widths through the running sum
/// the mesh reader makes, falling on elevation: one node per cell and one more, none on an
/// axis of fewer than no cells.
void makeNodes(boxpaint::MeshAxis& axis, bool falling);

/// Makes in `internal` the mesh the painter and the snapping take, its node arrays those
/// of `mesh` (which must outlive it) and its search tables built. Fails with kBadArgument
/// when an axis's nodes are not max(cellCount + 1, 0).
boxpaint::Failure internalMesh(const boxpaint::Mesh& mesh, std::unique_ptr<Mesh>& internal);
