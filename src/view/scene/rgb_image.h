// A picture in memory: 8-bit red, green and blue per pixel, rows from the top.
#pragma once

#include <cstdint>
#include <vector>

/// One colour.
struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

/// A picture of `width` x `height` pixels; pixel (x, y) is at 3 * (x + width * y).
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;
};

/// A picture of the given size filled with `background`.
RgbImage makeImage(int width, int height, Rgb background);

/// Paints the pixels x0 <= x < x1, y0 <= y < y1 that lie in the picture.
void fillRect(RgbImage& image, int x0, int y0, int x1, int y1, Rgb colour);

/// The colour of pixel (x, y), which must lie in the picture.
Rgb pixelAt(const RgbImage& image, int x, int y);
