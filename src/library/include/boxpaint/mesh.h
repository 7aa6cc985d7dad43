// The rectilinear mesh: cell counts, the first node and the cell widths, and the node
// coordinates boxpaint makes of them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "boxpaint/failure.h"

namespace boxpaint {

/// One axis of a mesh.
struct MeshAxis {
  int32_t cellCount = 0;       // cells as the mesh file gives them; 0 or less: no cells
  double origin = 0;           // the first node; 0 on an axis of no node (count below 0)
  std::vector<double> widths;  // the cellCount widths (thicknesses, from the top down, on
                               // elevation); none when cellCount <= 0
  std::vector<double> nodes;   // max(cellCount + 1, 0) node coordinates, as boxpaint
                               // makes them: running sums from the origin, rising on
                               // easting and northing, falling on elevation
};

/// A mesh: easting and northing nodes rise from the origin, elevation nodes fall from the
/// top of the mesh.
struct Mesh {
  MeshAxis easting, northing, elevation;
};

/// Makes `mesh` from the first node (easting, northing, top elevation) and the widths of
/// each axis's cells, with node coordinates exactly as boxpaint computes them from a mesh
/// file that holds these numbers. Fails with kBadArgument for more than 2^31 - 1 cells
/// along an axis.
Failure makeMesh(const double origin[3], std::span<const double> easting,
                 std::span<const double> northing, std::span<const double> elevation, Mesh& mesh);

/// Reads the mesh file `path` as boxpaint does: its counts, origin and widths as the file
/// gives them, and the node coordinates boxpaint makes of them. Fails with boxpaint's
/// message: the open's (29 not found, 9 access denied, ...), a read's (24, 59, 64, 39, 98)
/// with the line, memory's (41, 179).
Failure readMesh(const std::string& path, Mesh& mesh);

/// Writes `mesh` as a mesh file that boxpaint reads back to the same counts, origin and
/// widths, each number in the shortest text that reads back as the same double. The file
/// is opened as writeModel opens a model file, and replaced; after a failure it holds
/// whole lines only.
Failure writeMesh(const std::string& path, const Mesh& mesh);

/// The cell centres of `axis`: halfway between each node and the next.
std::vector<double> cellCentres(const MeshAxis& axis);

}  // namespace boxpaint
