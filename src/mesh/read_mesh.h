// Reading the mesh file into node axes.
#pragma once

#include <cstdint>

#include "mesh/mesh.h"

/// The line of the mesh file on which each of its five statements ended; each begins on
/// the line after the one before it ended.
struct MeshLines {
  int64_t counts = 0;
  int64_t origin = 0;
  int64_t widths[3] = {};  // easting, northing, elevation
};

/// Reads the mesh file named by the blank-padded buffer `name` (unit 1): the counts,
/// the origin and the widths, then turns widths into node coordinates. False when the
/// file cannot be opened (nothing is read); read errors end the run. With `lines`, says
/// where each statement ended, for a program that points its user at them.
bool readMesh(const char* name, int length, Mesh& mesh, MeshLines* lines = nullptr);
