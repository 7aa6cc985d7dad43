// The warnings boxpaint-check gives for a block: things a block does that its author
// most likely did not mean.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "check/block_file_report.h"
#include "check/mesh_summary.h"
#include "mesh/mesh.h"

/// The warnings for block `index` (from 0) of `report`, in this order, each a fixed
/// phrase, a colon and the details:
///   "paints nothing": some axis has no cell between the snapped nodes;
///   "lies wholly outside the mesh" / "lies partly outside the mesh": a bound lies
///     beyond the nodes of its axis; wholly when along some axis the block does not
///     reach into the mesh at all;
///   "lies above the top of the mesh": both elevation bounds at or above the top (node 1)
///     and one above it, as depths typed as elevations are;
///   "hidden by later blocks": it paints cells, and later blocks paint over all of them;
///   "moves more than half a cell": a bound snaps to no node or moves by more than half
///     the cell it lies in (see snapMove).
std::vector<std::string> blockWarnings(const Mesh& mesh, const MeshSummary& summary,
                                       const BlockFileReport& report, size_t index);
