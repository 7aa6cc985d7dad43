// Reading the mesh file into node axes.
#pragma once

#include "mesh/mesh.h"

/// Reads the mesh file named by the blank-padded buffer `name` (unit 1): the counts,
/// the origin and the widths, then turns widths into node coordinates. False when the
/// file cannot be opened (nothing is read); read errors end the run.
bool readMesh(const char* name, int length, Mesh& mesh);
