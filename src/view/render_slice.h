// Laying out one slice of the model as a picture: a rectangle per cell to the scale of
// the mesh, axes in mesh coordinates, a colour bar with its legend, and a title.
#pragma once

#include <string>

#include "view/colour_scale.h"
#include "view/picture_scene.h"
#include "view/slice_plane.h"

/// Where the cells of a picture lie, so that a reader can find a cell in it.
struct PictureGeometry {
  int plotLeft = 0;  // picture units: the cells fill plotLeft <= x < plotLeft + plotWidth
  int plotTop = 0;   //                and plotTop <= y < plotTop + plotHeight
  int plotWidth = 0;
  int plotHeight = 0;
  double acrossLow = 0, acrossHigh = 0;  // coordinates at the left and right plot edges
  double upLow = 0, upHigh = 0;          // coordinates at the bottom and top plot edges
  double exaggeration = 1;               // up scale over across scale; 1 when true to scale
};

/// What a picture shows besides its cells, and how large it is.
struct SliceDrawing {
  std::string title;        // valid UTF-8; empty: none
  std::string colourLabel;  // the colour bar's name and units, valid UTF-8; empty: none
  std::string units;        // of the coordinates, in the axis titles; empty: none
  double exaggeration = 0;  // the up scale over the across scale; 0: not asked for
  int width = 0;            // the picture's size; 0 x 0: as large as the plot needs,
  int height = 0;           // about 720 units along its longer side or more
  TextMetrics metrics;      // of the output that will draw the picture
};

/// Why a slice could not be laid out.
enum class SliceLayout {
  Drawn,
  NoExtent,  // an axis has no finite, non-empty extent to draw
  TooSmall,  // the requested size leaves too little room for the plot
};

/// Lays out `plane` coloured by `scale` as `drawing` asks, into `scene` and `geometry`;
/// on failure a one-line `error`. The plot keeps one scale both ways, or the exaggeration
/// asked for; a section of a given size without one fills the room beside its axes and
/// legend, and a side too thin to see is stretched. The title then says by how much
/// (scene.title holds it as drawn). Whatever the plot leaves of a given size is shared
/// evenly between the margins on either side.
SliceLayout renderSlice(const SlicePlane& plane, const ColourScale& scale,
                        const SliceDrawing& drawing, PictureScene& scene, PictureGeometry& geometry,
                        std::string& error);
