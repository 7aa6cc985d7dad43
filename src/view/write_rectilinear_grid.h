// The VTK XML rectilinear-grid file of a model, as ParaView and VTK read it.
#pragma once

#include "mesh/mesh.h"
#include "view/output_file.h"

/// Writes a RectilinearGrid file of `mesh` and its cell values `model` (in the model's
/// order) to `file`: x easting, y northing, z elevation; the node coordinates as the
/// mesh gives them (elevation falling from the top); one cell array named `value`.
/// The arrays are appended as raw binary doubles after the XML header.
void writeRectilinearGrid(OutputFile& file, const Mesh& mesh, const double* model);
