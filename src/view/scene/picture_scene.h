// A picture as a list of things to draw, in picture units (pixels of a PNG, points of
// an SVG or PDF picture), y downward from the top left corner. The layout makes it
// once; each kind of output draws it.
#pragma once

#include <string>
#include <vector>

#include "view/scene/rgb_image.h"

/// A filled rectangle x0 <= x < x1, y0 <= y < y1; one of opacity below 1 tints what
/// lies under it (the borders drawn over cells).
struct SceneRect {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  Rgb colour;
  double opacity = 1;
  // One of a tiling (the cells, the colour bar), drawn left to right and top to bottom,
  // before whatever frames it. Smoothing viewers show a hairline of background between two
  // abutting shapes, so a vector picture grows each tile by a fraction of a unit to the
  // right and downward, under the tiles drawn after it: each visible edge stays where it is.
  bool tile = false;
};

/// Which point of a text its position names, along its line.
enum class TextAlign { Start, Centre, End };

/// One line of black text. Its position is on the line through the middle of its
/// capitals; an upward text is turned a quarter left and reads from bottom to top.
struct SceneText {
  double x = 0, y = 0;
  std::string text;  // valid UTF-8
  double size = 0;   // the font size, in picture units
  TextAlign align = TextAlign::Start;
  bool upward = false;
};

/// Everything a picture shows: the rectangles first, in order, then the texts.
struct PictureScene {
  int width = 0;
  int height = 0;
  std::string title;  // the picture's title as drawn, for its metadata; may be empty
  std::vector<SceneRect> rects;
  std::vector<SceneText> texts;
};

/// Appends a rectangle to `scene`.
inline void addRect(PictureScene& scene, double x0, double y0, double x1, double y1, Rgb colour,
                    double opacity = 1, bool tile = false) {
  scene.rects.push_back(SceneRect{x0, y0, x1, y1, colour, opacity, tile});
}

/// Appends a line of black text to `scene`.
inline void addText(PictureScene& scene, double x, double y, const std::string& text, double size,
                    TextAlign align, bool upward = false) {
  scene.texts.push_back(SceneText{x, y, text, size, align, upward});
}

/// Appends a black frame one unit wide just outside x0 <= x < x1, y0 <= y < y1.
inline void addFrame(PictureScene& scene, int x0, int y0, int x1, int y1) {
  constexpr Rgb kInk{0, 0, 0};
  addRect(scene, x0 - 1, y0 - 1, x1 + 1, y0, kInk);
  addRect(scene, x0 - 1, y1, x1 + 1, y1 + 1, kInk);
  addRect(scene, x0 - 1, y0 - 1, x0, y1 + 1, kInk);
  addRect(scene, x1, y0 - 1, x1 + 1, y1 + 1, kInk);
}

/// How wide a text is drawn by the output that will draw it, for the layout.
struct TextMetrics {
  double (*width)(const std::string& text, double size) = nullptr;  // along its line
  double capHeight = 0.7;  // height of the capitals and digits, per unit of font size
  double descent = 0.2;    // depth of the descenders below the line, per unit of font size
};
