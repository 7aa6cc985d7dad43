#include "view/render_slice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "mesh/node_axis_testing.h"
#include "view/draw_scene_bitmap.h"

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
  EXPECT_EQ(renderSlice(plane, scale, drawing, picture.scene, picture.geometry, error),
            SliceLayout::Drawn)
      << error;
  picture.image = drawSceneBitmap(picture.scene);
  return picture;
}

TEST(RenderSliceTest, DrawsEachCellToScaleInItsColour) {
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

TEST(RenderSliceTest, StretchesAThinSideAndSaysBy) {
  std::vector<double> across = {0, 1000}, up = {10, 0};
  const NodeAxis acrossAxis = axisOver(across), upAxis = axisOver(up);
  const SlicePlane plane{&acrossAxis, &upAxis, "easting", "elevation", {1}};
  const Picture picture = render(plane, ColourScale{1, 1, true});
  EXPECT_GT(picture.geometry.plotHeight, 100);
  EXPECT_NEAR(picture.geometry.exaggeration,
              (picture.geometry.plotHeight / 10.0) / (picture.geometry.plotWidth / 1000.0), 1e-9);
  EXPECT_EQ(picture.at(500, 5), rampColour(0.5));
}

TEST(RenderSliceTest, FitsARequestedSizeWithItsLegendAndLabel) {
  std::vector<double> across = {100, 110, 130, 160}, up = {50, 45, 30};
  const NodeAxis acrossAxis = axisOver(across), upAxis = axisOver(up);
  const SlicePlane plane{&acrossAxis, &upAxis, "easting", "elevation", {0, 1, 2, 3, NAN, 1.5}};
  const ColourScale scale{1, 2, true, false, true};  // limits 1 and 2
  for (const auto& [width, height] : {std::pair(900, 500), std::pair(700, 900)}) {
    SliceDrawing drawing;
    drawing.width = width;
    drawing.height = height;
    drawing.colourLabel = "rho (ohm m)";
    const Picture picture = render(plane, scale, drawing);
    const PictureGeometry& g = picture.geometry;
    EXPECT_EQ(picture.image.width, width);
    EXPECT_EQ(picture.image.height, height);
    EXPECT_NEAR(static_cast<double>(g.plotWidth) / g.plotHeight, 60.0 / 20.0, 0.03);
    EXPECT_GE(g.plotLeft, 0);
    EXPECT_LE(g.plotLeft + g.plotWidth, width);
    EXPECT_EQ(picture.at(105, 47), kUnderColour);
    EXPECT_EQ(picture.at(120, 47), rampColour(0));
    EXPECT_EQ(picture.at(105, 37), kOverColour);
    EXPECT_EQ(picture.at(145, 37), rampColour(0.5));
    EXPECT_EQ(picture.texts(true), (std::vector<std::string>{"elevation", "rho (ohm m)"}));
    const std::vector<std::string> along = picture.texts(false);
    for (const char* text : {"title", "easting", "above 2", "below 1", "NaN"}) {
      EXPECT_NE(std::find(along.begin(), along.end(), text), along.end()) << text;
    }
    // Nothing is drawn beyond the picture's right edge: its last column is blank.
    for (int y = 0; y < height; ++y) {
      ASSERT_EQ(pixelAt(picture.image, width - 1, y), (Rgb{255, 255, 255})) << y;
    }
  }
  PictureScene scene;
  PictureGeometry geometry;
  std::string error;
  SliceDrawing tiny;
  tiny.width = tiny.height = 150;
  tiny.metrics = bitmapTextMetrics();
  EXPECT_EQ(renderSlice(plane, scale, tiny, scene, geometry, error), SliceLayout::TooSmall);
  EXPECT_EQ(error,
            "a picture of 150x150 leaves too little room for the plot beside its axes and legend");
}

TEST(RenderSliceTest, RefusesAnAxisWithoutExtent) {
  std::vector<double> flat = {5, 5}, good = {0, 1}, broken = {0, NAN};
  const NodeAxis flatAxis = axisOver(flat), goodAxis = axisOver(good),
                 brokenAxis = axisOver(broken);
  PictureScene scene;
  PictureGeometry geometry;
  std::string error;
  SliceDrawing drawing;
  drawing.metrics = bitmapTextMetrics();
  EXPECT_EQ(renderSlice(SlicePlane{&flatAxis, &goodAxis, "easting", "northing", {1}}, ColourScale{},
                        drawing, scene, geometry, error),
            SliceLayout::NoExtent);
  EXPECT_EQ(error, "the mesh has no extent along easting");
  EXPECT_EQ(renderSlice(SlicePlane{&goodAxis, &brokenAxis, "easting", "northing", {1}},
                        ColourScale{}, drawing, scene, geometry, error),
            SliceLayout::NoExtent);
  EXPECT_EQ(error, "the northing nodes are not all finite numbers");
}

}  // namespace
