#include "view/layout/lay_out_slice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "mesh/node_axis_testing.h"
#include "view/drawing/draw_scene_bitmap.h"
#include "view/drawing/picture_backend.h"

namespace {

struct Picture {
  PictureScene scene;
  RgbImage image;
  PictureGeometry geometry;

  // The texts of the scene that read upward, or along their line.
  std::vector<std::string> texts(bool upward) const {
    std::vector<std::string> result;
    for (const SceneText& text : scene.texts) {
      if (text.upward == upward) result.push_back(text.text);
    }
    return result;
  }

  // The pixel that shows coordinates (across, up).
  Rgb at(double across, double up) const {
    const PictureGeometry& g = geometry;
    const int x = g.plotLeft + static_cast<int>((across - g.acrossLow) /
                                                (g.acrossHigh - g.acrossLow) * g.plotWidth);
    const int y =
        g.plotTop + static_cast<int>((g.upHigh - up) / (g.upHigh - g.upLow) * g.plotHeight);
    return pixelAt(image, x, y);
  }
};

// Lays the slice out and draws it with the built-in font, which every build has.
Picture render(const SlicePlane& plane, const ColourScale& scale, SliceDrawing drawing = {}) {
  Picture picture;
  std::string error;
  if (drawing.title.empty()) drawing.title = "title";
  drawing.metrics = bitmapTextMetrics();
  EXPECT_EQ(layOutSlice(plane, scale, drawing, picture.scene, picture.geometry, error),
            SliceLayout::Drawn)
      << error;
  picture.image = drawSceneBitmap(picture.scene);
  return picture;
}

TEST(LayOutSliceTest, DrawsEachCellToScaleInItsColour) {
  // Widths 10, 20, 30 across; the up axis falls like elevation, thicknesses 5, 15.
  std::vector<double> across = {100, 110, 130, 160}, up = {50, 45, 30};
  const NodeAxis acrossAxis = axisOver(across), upAxis = axisOver(up);
  SlicePlane plane{&acrossAxis, &upAxis, "easting", "elevation", {0, 1, 2, 3, NAN, INFINITY}};
  const ColourScale scale{0, 3, true};
  const Picture picture = render(plane, scale);
  const PictureGeometry& g = picture.geometry;
  EXPECT_EQ(g.acrossLow, 100);
  EXPECT_EQ(g.acrossHigh, 160);
  EXPECT_EQ(g.upLow, 30);
  EXPECT_EQ(g.upHigh, 50);
  EXPECT_NEAR(static_cast<double>(g.plotWidth) / g.plotHeight, 60.0 / 20.0, 0.02);
  EXPECT_LE(g.plotLeft + g.plotWidth, picture.image.width);
  EXPECT_LE(g.plotTop + g.plotHeight, picture.image.height);
  // Up index 0 is the cell between 50 and 45, at the top.
  EXPECT_EQ(picture.at(105, 47), scaleColour(scale, 0));
  EXPECT_EQ(picture.at(120, 47), scaleColour(scale, 1));
  EXPECT_EQ(picture.at(145, 47), scaleColour(scale, 2));
  EXPECT_EQ(picture.at(105, 37), scaleColour(scale, 3));
  EXPECT_EQ(picture.at(120, 37), kNanColour);
  EXPECT_EQ(picture.at(145, 37), rampColour(1));
  // The border between cells falls where the node is.
  const double pixel = 60.0 / g.plotWidth;
  EXPECT_EQ(picture.at(130 - 2 * pixel, 37), kNanColour);
  EXPECT_EQ(picture.at(130 + 2 * pixel, 37), rampColour(1));
}

TEST(LayOutSliceTest, ShowsTheRangeAskedForInTheUnitsAskedFor) {
  std::vector<double> across = {100, 110, 130, 160}, up = {50, 45, 30};
  const NodeAxis acrossAxis = axisOver(across), upAxis = axisOver(up);
  const SlicePlane plane{&acrossAxis, &upAxis, "easting", "elevation", {0, 1, 9, 1, NAN, 1.5}};
  const ColourScale scale{0, 2, true, false, true};  // 9, out of sight, would be "above"
  SliceDrawing drawing;
  drawing.acrossRange = {true, 105, 125};
  drawing.upRange = {true, 0, 46};  // reaches below the mesh: cut at its bottom
  drawing.units = "km";
  drawing.axisScale = 0.001;
  drawing.width = 600;
  drawing.height = 400;
  const Picture picture = render(plane, scale, drawing);
  const PictureGeometry& g = picture.geometry;
  EXPECT_EQ((std::vector<double>{g.acrossLow, g.acrossHigh, g.upLow, g.upHigh}),
            (std::vector<double>{105, 125, 30, 46}));
  EXPECT_EQ(picture.at(107, 45.5), scaleColour(scale, 0));
  EXPECT_EQ(picture.at(120, 40), kNanColour);
  int labels = 0;
  for (const SceneText& text : picture.scene.texts) {
    const double value = std::strtod(text.text.c_str(), nullptr);
    if (text.y > g.plotTop + g.plotHeight && text.text.starts_with("0.1")) {
      EXPECT_TRUE(value >= 0.105 && value <= 0.125) << text.text;  // kilometres
      ++labels;
    }
  }
  EXPECT_GE(labels, 3);
  EXPECT_EQ(picture.texts(true)[0], "Elevation (km)");
  // No swatch for a cell that is not shown: only the NaN one.
  const std::vector<std::string> along = picture.texts(false);
  EXPECT_NE(std::find(along.begin(), along.end(), "NaN"), along.end());
  EXPECT_EQ(std::find(along.begin(), along.end(), "above 2"), along.end());
}

TEST(LayOutSliceTest, StretchesAThinSideAndSaysBy) {
  std::vector<double> across = {0, 1000}, up = {10, 0};
  const NodeAxis acrossAxis = axisOver(across), upAxis = axisOver(up);
  const SlicePlane plane{&acrossAxis, &upAxis, "easting", "elevation", {1}};
  const Picture picture = render(plane, ColourScale{1, 1, true});
  EXPECT_GT(picture.geometry.plotHeight, 100);
  EXPECT_NEAR(picture.geometry.exaggeration,
              (picture.geometry.plotHeight / 10.0) / (picture.geometry.plotWidth / 1000.0), 1e-9);
  EXPECT_EQ(picture.scene.title, "title (vertical exaggeration x16.7)");
  EXPECT_EQ(picture.at(500, 5), rampColour(0.5));
  // Asked for, a scale is kept, however thin it leaves the plot; the title says so.
  SliceDrawing asked;
  asked.exaggeration = 2;
  const Picture kept = render(plane, ColourScale{1, 1, true}, asked);
  EXPECT_EQ(kept.geometry.plotWidth, 720);
  EXPECT_EQ(kept.geometry.plotHeight, 14);
  EXPECT_EQ(kept.scene.title, "title (vertical exaggeration x2)");
}

// The first and last columns and rows of `image` that hold anything but white.
struct InkBox {
  int left, right, top, bottom;
};

InkBox inkBox(const RgbImage& image) {
  InkBox box{image.width, -1, image.height, -1};
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (pixelAt(image, x, y) == Rgb{255, 255, 255}) continue;
      box = {std::min(box.left, x), std::max(box.right, x), std::min(box.top, y),
             std::max(box.bottom, y)};
    }
  }
  return box;
}

TEST(LayOutSliceTest, FillsARequestedSizeWithEvenMargins) {
  std::vector<double> across = {100, 110, 130, 160}, up = {50, 45, 30};
  const NodeAxis acrossAxis = axisOver(across), upAxis = axisOver(up);
  const ColourScale scale{1, 2, true, false, true};  // limits 1 and 2
  struct Case {
    const char* upName;
    double exaggeration;
    int width, height;
    double ratio;  // of the plot's sides, when it keeps a scale; 0: it fills its room
  };
  const Case cases[] = {
      {"elevation", 0, 900, 500, 0},    {"elevation", 0, 700, 900, 0},
      {"northing", 0, 900, 500, 3},     {"northing", 0, 700, 900, 3},
      {"elevation", 2, 1200, 500, 1.5}, {"elevation", 1.5, 600, 900, 2},
  };
  for (const Case& c : cases) {
    const SlicePlane plane{&acrossAxis, &upAxis, "easting", c.upName, {0, 1, 2, 3, NAN, 1.5}};
    SliceDrawing drawing;
    drawing.width = c.width;
    drawing.height = c.height;
    drawing.exaggeration = c.exaggeration;
    drawing.colourLabel = "rho (ohm m)";
    drawing.units = "km";
    const Picture picture = render(plane, scale, drawing);
    const PictureGeometry& g = picture.geometry;
    SCOPED_TRACE(std::string(c.upName) + " " + std::to_string(c.width));
    EXPECT_EQ(picture.image.width, c.width);
    EXPECT_EQ(picture.image.height, c.height);
    if (c.ratio > 0) {
      EXPECT_NEAR(static_cast<double>(g.plotWidth) / g.plotHeight, c.ratio, 0.03);
    }
    // Whatever the plot leaves is shared alike between the margins on either side.
    const InkBox ink = inkBox(picture.image);
    // (Up to the few units by which the ink of a line of text sits off its middle.)
    EXPECT_NEAR(ink.left, c.width - 1 - ink.right, 5);
    EXPECT_NEAR(ink.top, c.height - 1 - ink.bottom, 5);
    if (c.ratio == 0) {
      EXPECT_LT(ink.left, 30);  // the plot fills the picture
      EXPECT_LT(ink.top, 30);
    }
    EXPECT_EQ(picture.at(105, 47), kUnderColour);
    EXPECT_EQ(picture.at(120, 47), rampColour(0));
    EXPECT_EQ(picture.at(105, 37), kOverColour);
    EXPECT_EQ(picture.at(145, 37), rampColour(0.5));
    const std::string upTitle =
        std::string(c.upName) == "elevation" ? "Elevation (km)" : "Northing (km)";
    EXPECT_EQ(picture.texts(true), (std::vector<std::string>{upTitle, "rho (ohm m)"}));
    const std::vector<std::string> along = picture.texts(false);
    for (const char* text : {"Easting (km)", "above 2", "below 1", "NaN"}) {
      EXPECT_NE(std::find(along.begin(), along.end(), text), along.end()) << text;
    }
  }
  PictureScene scene;
  PictureGeometry geometry;
  std::string error;
  SliceDrawing tiny;
  tiny.width = tiny.height = 150;
  tiny.metrics = bitmapTextMetrics();
  const SlicePlane plane{&acrossAxis, &upAxis, "easting", "elevation", {0, 1, 2, 3, NAN, 1.5}};
  EXPECT_EQ(layOutSlice(plane, scale, tiny, scene, geometry, error), SliceLayout::TooSmall);
  EXPECT_EQ(error,
            "a picture of 150x150 leaves too little room for the plot beside its axes and legend");
}

TEST(LayOutSliceTest, SetsATitleTooWideForThePictureOnTwoLinesAtTheSizeOfTheRest) {
  std::vector<double> across = {0, 1000}, up = {10, 0};
  const NodeAxis acrossAxis = axisOver(across), upAxis = axisOver(up);
  const SlicePlane plane{&acrossAxis, &upAxis, "easting", "elevation", {1}};
  SliceDrawing drawing;
  drawing.width = 1000;
  drawing.height = 600;
  // Words, and one word: with its note of the stretch, wider than the picture.
  std::string words;
  for (int k = 0; k < 14; ++k) words += "WWWW ";
  words.pop_back();
  for (const std::string& title : {words, std::string(90, 'W')}) {
    drawing.title = title;
    const Picture picture = render(plane, ColourScale{1, 1, true}, drawing);
    const std::vector<SceneText> lines(picture.scene.texts.begin(),
                                       picture.scene.texts.begin() + 2);
    EXPECT_TRUE(picture.scene.title.starts_with(title + " (vertical exaggeration x"))
        << picture.scene.title;
    const double cap = bitmapTextMetrics().capHeight * lines[0].size;
    for (const SceneText& line : lines) {
      EXPECT_EQ(line.size, picture.scene.texts.back().size) << line.text;
      const double half = bitmapTextMetrics().width(line.text, line.size) / 2;
      EXPECT_GE(line.x - half, 0) << line.text;
      EXPECT_LE(line.x + half, 1000) << line.text;
      EXPECT_LT(line.y + cap / 2, picture.geometry.plotTop) << line.text;
    }
    EXPECT_GT(lines[1].y - lines[0].y, cap);  // one under the other, apart
    if (title != words) {
      EXPECT_TRUE(lines[0].text.ends_with("\u2026")) << lines[0].text;
      EXPECT_TRUE(lines[1].text.starts_with("(vertical exaggeration x")) << lines[1].text;
    }
  }
}

TEST(LayOutSliceTest, CellsMeetWithoutAGapAtAnySize) {
  // Layers that grow by 1.08 from the top, drawn by this build's own backend at every
  // width from 1000 to 1070: no pixel inside the plot stays white.
  std::vector<double> across, up = {0};
  for (int k = 0; k <= 40; ++k) across.push_back(6100000 + 250.0 * k);
  double thickness = 10;
  for (int k = 0; k < 50; ++k, thickness *= 1.08) up.push_back(up.back() - thickness);
  const NodeAxis acrossAxis = axisOver(across), upAxis = axisOver(up);
  std::vector<double> values(40 * 50);
  for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<double>(i % 7);
  const SlicePlane plane{&acrossAxis, &upAxis, "northing", "elevation", values};
  for (int width = 1000; width <= 1070; ++width) {
    SliceDrawing drawing;
    drawing.width = width;
    drawing.height = 500;
    drawing.metrics = pictureTextMetrics();
    PictureScene scene;
    PictureGeometry g;
    std::string error;
    ASSERT_EQ(layOutSlice(plane, ColourScale{0, 6, true}, drawing, scene, g, error),
              SliceLayout::Drawn);
    RgbImage image;
    ASSERT_FALSE(drawRasterPicture(scene, image));
    for (int y = g.plotTop; y < g.plotTop + g.plotHeight; ++y) {
      for (int x = g.plotLeft; x < g.plotLeft + g.plotWidth; ++x) {
        ASSERT_NE(pixelAt(image, x, y), (Rgb{255, 255, 255})) << width << ": " << x << "," << y;
      }
    }
  }
}

TEST(LayOutSliceTest, RefusesAnAxisWithoutExtent) {
  std::vector<double> flat = {5, 5}, good = {0, 1}, broken = {0, NAN};
  const NodeAxis flatAxis = axisOver(flat), goodAxis = axisOver(good),
                 brokenAxis = axisOver(broken);
  PictureScene scene;
  PictureGeometry geometry;
  std::string error;
  SliceDrawing drawing;
  drawing.metrics = bitmapTextMetrics();
  EXPECT_EQ(layOutSlice(SlicePlane{&flatAxis, &goodAxis, "easting", "northing", {1}}, ColourScale{},
                        drawing, scene, geometry, error),
            SliceLayout::NoExtent);
  EXPECT_EQ(error, "the mesh has no extent along easting");
  EXPECT_EQ(layOutSlice(SlicePlane{&goodAxis, &brokenAxis, "easting", "northing", {1}},
                        ColourScale{}, drawing, scene, geometry, error),
            SliceLayout::NoExtent);
  EXPECT_EQ(error, "the northing nodes are not all finite numbers");
}

}  // namespace

namespace {

// The box a text's ink takes: its capitals and digits, and its descenders below them.
struct TextBox {
  double x0, y0, x1, y1;
};

TextBox boxOf(const SceneText& text, const TextMetrics& metrics) {
  const double width = metrics.width(text.text, text.size);
  const double cap = metrics.capHeight * text.size, descent = metrics.descent * text.size;
  const double along = text.align == TextAlign::Start    ? 0
                       : text.align == TextAlign::Centre ? width / 2
                                                         : width;
  if (text.upward) {
    // Turned a quarter left: the line runs up, the descenders face right.
    return {text.x - cap / 2, text.y + along - width, text.x + cap / 2 + descent, text.y + along};
  }
  return {text.x - along, text.y - cap / 2, text.x - along + width, text.y + cap / 2 + descent};
}

// Whether two boxes keep `clearance` units between them, one way or the other.
bool apart(const TextBox& a, const TextBox& b, double clearance) {
  return a.x1 + clearance <= b.x0 || b.x1 + clearance <= a.x0 || a.y1 + clearance <= b.y0 ||
         b.y1 + clearance <= a.y0;
}

bool isNumber(const std::string& text) {
  char* end = nullptr;
  std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0';
}

}  // namespace

TEST(LayOutSliceTest, EveryAcceptedSizeHasThreeLabelsAnAxisAndNoTextTouchesAnother) {
  // Survey coordinates of seven digits; 30 layers, each 1.3 times thicker than the one above.
  std::vector<double> east, north, up = {200};
  for (int k = 0; k <= 20; ++k) east.push_back(499875 + 55.0 * k);
  for (int k = 0; k <= 20; ++k) north.push_back(6104980 + 52.5 * k);
  double thickness = 5;
  for (int k = 0; k < 30; ++k, thickness *= 1.3) up.push_back(up.back() - thickness);
  const NodeAxis eastAxis = axisOver(east), northAxis = axisOver(north), upAxis = axisOver(up);
  std::vector<double> values(20 * 30);
  for (size_t i = 0; i < values.size(); ++i) values[i] = std::pow(10.0, static_cast<double>(i % 5));
  const ColourScale scale{3, 3000, true, true, true};  // values under and over it
  const TextMetrics metrics = pictureTextMetrics();
  const SlicePlane planes[] = {{&eastAxis, &upAxis, "easting", "elevation", values},
                               {&eastAxis, &northAxis, "easting", "northing",
                                std::vector<double>(values.begin(), values.begin() + 400)}};
  int drawn = 0;
  for (const SlicePlane& plane : planes) {
    for (int width = 100; width <= 1600; width += 125) {
      for (int height = 100; height <= 1200; height += 100) {
        SliceDrawing drawing;
        drawing.title = "layered.mod: a long title of a slice of the layered mesh";
        drawing.colourLabel = "resistivity (\u03a9\u00b7m)";
        drawing.units = "m";
        drawing.width = width;
        drawing.height = height;
        drawing.metrics = metrics;
        PictureScene scene;
        PictureGeometry g;
        std::string error;
        const SliceLayout layout = layOutSlice(plane, scale, drawing, scene, g, error);
        if (layout == SliceLayout::TooSmall) continue;
        ASSERT_EQ(layout, SliceLayout::Drawn) << error;
        ++drawn;
        SCOPED_TRACE(std::string(plane.upName) + " " + std::to_string(width) + "x" +
                     std::to_string(height));
        std::vector<double> acrossValues, upValues;
        double tickSize = 0;
        for (const SceneText& text : scene.texts) {
          if (!isNumber(text.text)) continue;
          tickSize = text.size;
          if (text.y > g.plotTop + g.plotHeight) acrossValues.push_back(std::stod(text.text));
          if (text.x < g.plotLeft) upValues.push_back(std::stod(text.text));
        }
        ASSERT_GE(acrossValues.size(), 3u);
        ASSERT_GE(upValues.size(), 3u);
        // A plan view is true to scale: one step both ways.
        if (std::string(plane.upName) == "northing") {
          EXPECT_DOUBLE_EQ(acrossValues[1] - acrossValues[0], upValues[1] - upValues[0]);
        }
        for (size_t i = 0; i < scene.texts.size(); ++i) {
          EXPECT_GE(scene.texts[i].size, tickSize) << scene.texts[i].text;  // titles too
          const TextBox a = boxOf(scene.texts[i], metrics);
          EXPECT_GE(a.x0, 0) << scene.texts[i].text;
          EXPECT_LE(a.x1, width) << scene.texts[i].text;
          for (size_t j = i + 1; j < scene.texts.size(); ++j) {
            // A quarter of the text's size at least: no closer than a gap, give or take
            // the rounding to whole units.
            ASSERT_TRUE(apart(a, boxOf(scene.texts[j], metrics), 0.25 * tickSize))
                << scene.texts[i].text << " / " << scene.texts[j].text;
          }
        }
      }
    }
  }
  EXPECT_GT(drawn, 200);  // most sizes are drawn
}
