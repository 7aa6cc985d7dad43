// Laying out one slice of the model as a picture: a rectangle per cell to the scale of
// the mesh, axes in mesh coordinates, a colour bar with its legend, and a title. The
// scene it makes is drawn by whichever output the picture goes to.
#pragma once

#include <string>

#include "view/scene/colour_scale.h"
#include "view/scene/picture_geometry.h"
#include "view/scene/picture_scene.h"
#include "view/slice/slice_plane.h"

/// A range of coordinates that a picture is to show along one axis.
struct AxisRange {
  bool given = false;  // false: the whole extent of the mesh
  double low = 0;
  double high = 0;
};

/// What a picture shows besides its cells, and how large it is.
struct SliceDrawing {
  std::string title;        // valid UTF-8; empty: none
  std::string colourLabel;  // the colour bar's name and units, valid UTF-8; empty: none
  std::string units;        // of the axes, in their titles; empty: none
  double axisScale = 1;     // axis units per unit of the mesh's coordinates
  AxisRange acrossRange;    // the part of the mesh to show, in the mesh's coordinates
  AxisRange upRange;
  double exaggeration = 0;  // the up scale over the across scale; 0: not asked for
  int width = 0;            // the picture's size; 0 x 0: as large as the plot needs,
  int height = 0;           // about 720 units along its longer side or more
  TextMetrics metrics;      // of the output that will draw the picture
};

/// Why a slice could not be laid out.
enum class SliceLayout {
  Drawn,
  NoExtent,  // an axis has no finite, non-empty extent to draw
  TooSmall,  // the requested size leaves too little room for the plot and its labels
};

/// The coordinates from `low` to `high` that a picture shows along `axis` (named `name`):
/// from its lowest to its highest node, cut to `range` when one is given. False with a
/// one-line `error` when the nodes are not all finite, or nothing of that extent is left.
bool shownExtent(const NodeAxis& axis, const char* name, const AxisRange& range, double& low,
                 double& high, std::string& error);

/// Lays out `plane` coloured by `scale` as `drawing` asks, into `scene` and `geometry`;
/// on failure a one-line `error`. The plot keeps one scale both ways, or the exaggeration
/// asked for; a section of a given size without one fills the room beside its axes and
/// legend, and a side too thin to see is stretched. The title then says by how much
/// (scene.title holds it whole). Whatever the plot leaves of a given size is shared
/// evenly between the margins on either side. Every axis of a picture of a given size
/// has at least three labelled marks, or the size is too small.
SliceLayout layOutSlice(const SlicePlane& plane, const ColourScale& scale,
                        const SliceDrawing& drawing, PictureScene& scene, PictureGeometry& geometry,
                        std::string& error);
