// Where the cells of a slice picture lie: the plot's place in the picture and the
// coordinates at its edges.
#pragma once

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
