#include "view/scene/rgb_image.h"

#include <algorithm>

RgbImage makeImage(int width, int height, Rgb background) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  fillRect(image, 0, 0, width, height, background);
  return image;
}

void fillRect(RgbImage& image, int x0, int y0, int x1, int y1, Rgb colour) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, image.width);
  y1 = std::min(y1, image.height);
  for (int y = y0; y < y1; ++y) {
    uint8_t* p =
        image.pixels.data() + 3 * (static_cast<size_t>(x0) + static_cast<size_t>(image.width) * y);
    for (int x = x0; x < x1; ++x) {
      *p++ = colour.r;
      *p++ = colour.g;
      *p++ = colour.b;
    }
  }
}

Rgb pixelAt(const RgbImage& image, int x, int y) {
  const uint8_t* p =
      image.pixels.data() + 3 * (static_cast<size_t>(x) + static_cast<size_t>(image.width) * y);
  return Rgb{p[0], p[1], p[2]};
}
