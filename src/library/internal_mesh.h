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

/// internalMesh for a call given `values` cells of a model of `mesh`: fails with
/// kBadArgument when that is not the mesh's number of cells.
boxpaint::Failure modelMesh(const boxpaint::Mesh& mesh, size_t values,
                            std::unique_ptr<Mesh>& internal);
