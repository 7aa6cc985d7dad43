// The cells of a slice picture, in their colours, with light borders where they are wide.
#pragma once

#include "view/colour_scale.h"
#include "view/picture_scene.h"
#include "view/render_slice.h"
#include "view/slice_plane.h"

/// Adds to `scene` a rectangle for each run of cells of one colour along a row of
/// `plane`, placed by `geometry`, and light borders between the cells where every cell
/// along an axis is at least 6 units wide.
void addSliceCells(const SlicePlane& plane, const ColourScale& scale,
                   const PictureGeometry& geometry, PictureScene& scene);
