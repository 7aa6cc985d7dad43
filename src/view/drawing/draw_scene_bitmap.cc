#include "view/drawing/draw_scene_bitmap.h"

#include <algorithm>
#include <cmath>

#include "view/drawing/bitmap_font.h"

namespace {

// Font size per unit of glyph scale: a 15-unit font draws at scale 2.
constexpr double kSizePerScale = 7.5;

int glyphScale(double size) {
  return std::max(1, static_cast<int>(std::lround(size / kSizePerScale)));
}

double bitmapWidth(const std::string& text, double size) {
  return textWidth(text, glyphScale(size));
}

int snap(double coordinate) {
  return static_cast<int>(std::lround(coordinate));
}

void drawRect(RgbImage& image, const SceneRect& rect) {
  const int x0 = std::max(snap(rect.x0), 0), x1 = std::min(snap(rect.x1), image.width);
  const int y0 = std::max(snap(rect.y0), 0), y1 = std::min(snap(rect.y1), image.height);
  if (rect.opacity >= 1) {
    fillRect(image, x0, y0, x1, y1, rect.colour);
    return;
  }
  const auto mix = [&](uint8_t under, uint8_t over) {
    return static_cast<uint8_t>(std::lround(under + (over - under) * rect.opacity));
  };
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const Rgb under = pixelAt(image, x, y);
      fillRect(image, x, y, x + 1, y + 1,
               Rgb{mix(under.r, rect.colour.r), mix(under.g, rect.colour.g),
                   mix(under.b, rect.colour.b)});
    }
  }
}

void drawSceneText(RgbImage& image, const SceneText& text) {
  const int scale = glyphScale(text.size);
  const int width = textWidth(text.text, scale);
  const int cap = (kGlyphHeight - 1) * scale;
  const int along = text.align == TextAlign::Start    ? 0
                    : text.align == TextAlign::Centre ? width / 2
                                                      : width;
  constexpr Rgb kInk{0, 0, 0};
  if (text.upward) {
    drawTextUpward(image, snap(text.x) - cap / 2, snap(text.y) + along, text.text, kInk, scale);
  } else {
    drawText(image, snap(text.x) - along, snap(text.y) - cap / 2, text.text, kInk, scale);
  }
}

}  // namespace

TextMetrics bitmapTextMetrics() {
  TextMetrics metrics;
  metrics.width = bitmapWidth;
  metrics.capHeight = (kGlyphHeight - 1) / kSizePerScale;
  metrics.descent = 1 / kSizePerScale;  // the glyphs' bottom row
  return metrics;
}

RgbImage drawSceneBitmap(const PictureScene& scene) {
  RgbImage image = makeImage(scene.width, scene.height, Rgb{255, 255, 255});
  for (const SceneRect& rect : scene.rects) drawRect(image, rect);
  for (const SceneText& text : scene.texts) drawSceneText(image, text);
  return image;
}
