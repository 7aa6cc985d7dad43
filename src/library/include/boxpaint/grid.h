// The model as a VTK rectilinear grid, for ParaView and VTK.
#pragma once

#include <span>
#include <string>

#include "boxpaint/failure.h"
#include "boxpaint/mesh.h"

namespace boxpaint {

/// Writes `values` (modelCellCount(mesh) of them, in the model file's order) on `mesh` as
/// the VTK rectilinear grid file `path`, the cell data named `name`, the same grid as
/// `boxpaint-view` writes.
Failure writeRectilinearGrid(const std::string& path, const Mesh& mesh,
                             std::span<const double> values, const std::string& name);

}  // namespace boxpaint
