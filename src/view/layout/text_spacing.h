// The distances of a picture that go with the size of its text, in whole picture units.
#pragma once

#include "view/scene/picture_scene.h"

/// Distances that go with a font size.
struct TextSpacing {
  double size = 0;  // the font size
  int cap = 0;      // height of the capitals and digits
  int descent = 0;  // depth of the descenders
  int gap = 0;      // between a text and what it labels
  int tick = 0;     // length of a tick mark
  int margin = 0;   // around the picture
  int line = 0;     // a line of text with a gap above and below
  int bar = 0;      // width of the colour bar
  int swatch = 0;   // height of a legend swatch
};

/// The distances for text of `size` drawn with `metrics`.
TextSpacing textSpacing(double size, const TextMetrics& metrics);
