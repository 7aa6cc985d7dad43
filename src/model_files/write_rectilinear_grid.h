// The VTK XML rectilinear-grid file of a model, as ParaView and VTK read it.
#pragma once

#include "companion/companion_failure.h"
#include "mesh/mesh.h"
#include "model_files/grid_flips.h"
#include "model_files/output_file.h"

/// Writes a RectilinearGrid file of `mesh` and its cell values `model` (in the model's
/// order) to `file`: x easting, y northing, z elevation; each axis's nodes bit for bit
/// as the mesh gives them, in reverse where `flips` says (so that they rise), and the
/// cells in the matching order; one cell array named `valueName`. The arrays are
/// appended as raw binary doubles after the XML header. Memory refused is a failure; a
/// write that fails is kept in `file` for its commit.
CompanionFailure writeRectilinearGrid(OutputFile& file, const Mesh& mesh, GridFlips flips,
                                      const double* model, const char* valueName = "value");

/// Writes the grid file `path` of `mesh` and its cell values `model` (in the model's order,
/// the mesh's cell count of them), its cell array named `valueName`, as boxpaint-view
/// writes it: under a temporary name, given `path` only when it is complete. An axis that
/// no rising grid can hold, or a file that cannot be made or written, is a failure naming
/// it, and leaves no file behind.
CompanionFailure writeGridFile(const char* path, const Mesh& mesh, const double* model,
                               const char* valueName = "value");
