// The VTK XML rectilinear-grid file of a model, as ParaView and VTK read it.
#pragma once

#include "mesh/mesh.h"
#include "view/grid_flips.h"
#include "view/output_file.h"

/// Writes a RectilinearGrid file of `mesh` and its cell values `model` (in the model's
/// order) to `file`: x easting, y northing, z elevation; each axis's nodes bit for bit
/// as the mesh gives them, in reverse where `flips` says (so that they rise), and the
/// cells in the matching order; one cell array named `value`. The arrays are appended
/// as raw binary doubles after the XML header.
void writeRectilinearGrid(OutputFile& file, const Mesh& mesh, GridFlips flips, const double* model);
