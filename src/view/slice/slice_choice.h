// Which slice of the model a picture shows: a cell index or a coordinate on one axis.
#pragma once

#include <cstdint>
#include <string>

#include "mesh/mesh.h"
#include "mesh/node_axis.h"

/// The axis a slice is cut across.
enum class SliceAxis { Elevation, Easting, Northing };

/// A slice as the command line names it.
struct SliceChoice {
  SliceAxis axis = SliceAxis::Elevation;
  bool byCoordinate = false;  // z@C rather than z=K
  int64_t index = 0;          // the cell index K, counted from 1 (z=K)
  double coordinate = 0;      // the coordinate C (z@C)
};

/// Reads `z=K`, `e=J`, `n=K` (a cell index from 1) or `z@C`, `e@C`, `n@C` (a
/// coordinate); false when `text` is none of these.
bool parseSliceChoice(const std::string& text, SliceChoice& choice);

/// The axis of `mesh` that `axis` names.
const NodeAxis& sliceAxisOf(const Mesh& mesh, SliceAxis axis);

/// The name of `axis` as messages and pictures show it ("elevation" ...).
const char* sliceAxisName(SliceAxis axis);

/// The cell (from 1) whose closed node range holds `coordinate`; where two cells share
/// a node the one with the smaller index; 0 when no cell holds it.
int32_t cellContaining(const NodeAxis& axis, double coordinate);

/// The cell index (from 1) of the slice `choice` in `mesh`; false with a one-line
/// `error` when the index or coordinate lies outside the mesh.
bool sliceCellIndex(const Mesh& mesh, const SliceChoice& choice, int32_t& index,
                    std::string& error);
