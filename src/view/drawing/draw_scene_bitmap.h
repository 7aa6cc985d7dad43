// Drawing a picture scene into pixels with the built-in bitmap font: the pictures of a
// build without cairo, and a plain drawing that tests can read pixel by pixel.
#pragma once

#include "view/scene/picture_scene.h"
#include "view/scene/rgb_image.h"

/// The metrics of the built-in font, drawn at the whole-number scale nearest a font size.
TextMetrics bitmapTextMetrics();

/// The scene on white, each rectangle snapped to whole pixels, characters the built-in
/// font lacks as '?'.
RgbImage drawSceneBitmap(const PictureScene& scene);
