// The warnings boxpaint-check gives for a block: things a block does that its author
// most likely did not mean.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "check/reading/block_file_report.h"
#include "check/reading/mesh_summary.h"
#include "mesh/mesh.h"

/// The warnings for block `index` (from 0) of `report`, in this order, each a fixed
/// phrase, a colon and the details; numbers as read are shown in full, coordinates and
/// distances worked out on the mesh as people read them (see nodeShown, distanceShown):
///   "reads on past its line": its seven values come from more than one line (the first
///     line with a value, and the line of the last);
///   "paints nothing": some axis has no cell between the snapped nodes;
///   "lies wholly outside the mesh" / "lies partly outside the mesh": a bound lies
///     beyond the nodes of its axis; wholly when along some axis the block does not
///     reach into the mesh at all;
///   "lies above the top of the mesh": both elevation bounds at or above the top (node 1)
///     and one above it;
///   "looks like depths typed as elevations": both elevation bounds at or above 0, one
///     above the top, and read as depths below the top both within the mesh;
///   "hidden by later blocks": it paints cells, and later blocks paint over all of them;
///   "moves more than half a cell": a bound snaps to no node or moves by more than half
///     the cell it lies in (see snapMove).
std::vector<std::string> blockWarnings(const Mesh& mesh, const MeshSummary& summary,
                                       const BlockFileReport& report, size_t index);

/// One warning of a block, and whether it only follows from another of the same block.
struct BlockWarning {
  std::string text;      // the fixed phrase, a colon and the details
  int followsFrom = -1;  // the warning (its place in the list) that explains this one; -1: none
};

/// The warnings of blockWarnings, each marked with the one it follows from, if any:
///   "lies above the top of the mesh" from "looks like depths typed as elevations";
///   "lies wholly/partly outside the mesh", when the only bounds outside are elevations above
///     the top and the top is the highest node, from either of those two;
///   "paints nothing", when every axis with no cell is one the block lies beside, and
///     "moves more than half a cell", when every bound that moves too far lies beyond the
///     mesh, from "lies wholly/partly outside the mesh".
std::vector<BlockWarning> findBlockWarnings(const Mesh& mesh, const MeshSummary& summary,
                                            const BlockFileReport& report, size_t index);

/// One text for each warning of `warnings` that follows from no other, in their order:
/// the phrases of those that follow from it, directly or through another, are added after
/// it, as in "... (so it also paints nothing and moves more than half a cell)".
std::vector<std::string> groupedWarnings(std::vector<BlockWarning> warnings);
