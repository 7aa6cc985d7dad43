// The cells of a slice picture, in their colours, with light borders where they are wide.
#pragma once

#include <vector>

#include "view/scene/colour_scale.h"
#include "view/scene/picture_geometry.h"
#include "view/scene/picture_scene.h"
#include "view/slice/slice_plane.h"

/// Adds to `scene` a rectangle for each run of cells of one colour along a row of
/// `plane`, placed by `geometry` and cut to its plot, in the order a reader's eye takes
/// them (rows from the top, cells from the left), and light borders centred on the cell
/// edges inside the plot where every cell shown is at least 6 units across that way.
void addSliceCells(const SlicePlane& plane, const ColourScale& scale,
                   const PictureGeometry& geometry, PictureScene& scene);

/// The values of the cells of `plane` that lie at least in part within the coordinates
/// that `geometry` shows.
std::vector<double> shownCellValues(const SlicePlane& plane, const PictureGeometry& geometry);
