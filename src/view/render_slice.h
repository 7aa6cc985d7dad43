// Drawing one slice of the model: a rectangle per cell to the scale of the mesh, axes
// in mesh coordinates, a colour scale with its legend, and a title.
#pragma once

#include <string>

#include "view/colour_scale.h"
#include "view/rgb_image.h"
#include "view/slice_plane.h"

/// Where the cells of a picture lie, so that a reader can find a cell in it.
struct PictureGeometry {
  int plotLeft = 0;  // pixels: the cells fill plotLeft <= x < plotLeft + plotWidth
  int plotTop = 0;   //         and plotTop <= y < plotTop + plotHeight
  int plotWidth = 0;
  int plotHeight = 0;
  double acrossLow = 0, acrossHigh = 0;  // coordinates at the left and right plot edges
  double upLow = 0, upHigh = 0;          // coordinates at the bottom and top plot edges
  double exaggeration = 1;               // up scale over across scale; 1 when true to scale
};

/// Draws `plane` coloured by `scale` under `title`. False with a one-line `error` when
/// an axis has no finite, non-empty extent to draw.
bool renderSlice(const SlicePlane& plane, const ColourScale& scale, const std::string& title,
                 RgbImage& image, PictureGeometry& geometry, std::string& error);
