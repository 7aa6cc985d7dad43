// The rectilinear mesh: three axes of nodes.
#pragma once

#include "mesh/node_axis.h"

/// The rectilinear mesh: easting and northing nodes rise, elevation nodes fall from the top.
struct Mesh {
  NodeAxis easting, northing, elevation;
};
