// Reading the mesh file into node axes.
#pragma once

#include <cstdint>

#include "mesh/mesh.h"
#include "runtime/diagnostics/failure.h"

/// The line of the mesh file on which each of its five statements ended; each begins on
/// the line after the one before it ended.
struct MeshLines {
  int64_t counts = 0;
  int64_t origin = 0;
  int64_t widths[3] = {};  // easting, northing, elevation
};

/// Reads the mesh file named by the blank-padded buffer `name` (unit 1): the counts, the
/// origin and the widths, then turns widths into node coordinates. Returns no failure; the
/// open's refusal, when nothing is read; or a read failure (24, 59, 64, 39, 98), refused
/// memory (41, 179) or a failing close (28). The file is closed whatever the outcome, and
/// the node arrays made are the mesh's: `releaseMesh` gives them back. With `lines`, says
/// where each statement ended, for a program that points its user at them.
Failure readMesh(const char* name, int length, Mesh& mesh, MeshLines* lines = nullptr);

/// Reads the mesh file as readMesh does, but leaves each axis's numbers as the file gives
/// them: node 1 its origin, nodes 2..n+1 its widths. For a caller that keeps the widths
/// too; sumNodeWidths then makes the coordinates as readMesh does.
Failure readMeshWidths(const char* name, int length, Mesh& mesh, MeshLines* lines = nullptr);

/// Gives back the node arrays that `readMesh` made; the mesh has no axes afterwards.
void releaseMesh(Mesh& mesh);
