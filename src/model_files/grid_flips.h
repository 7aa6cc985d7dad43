// Which axes of a mesh run the other way from the VTK grid made of it. VTK's point
// location (probing, plotting over a line, resampling) assumes that every coordinate
// array rises, so an axis whose nodes fall, as elevation does from the top, is written
// reversed and its cells with it.
#pragma once

#include <string>

#include "mesh/mesh.h"

/// The axes whose nodes and cells the grid holds in reverse order.
struct GridFlips {
  bool easting = false;
  bool northing = false;
  bool elevation = false;
};

/// The flips that make every axis of `mesh` rise (ties allowed: a cell of zero width
/// stays a cell of zero width). False with a one-line `error` when an axis has a node
/// that is not a finite number or nodes that both rise and fall, which no rising
/// coordinate array can hold in the mesh's cell order.
bool gridFlipsOf(const Mesh& mesh, GridFlips& flips, std::string& error);
