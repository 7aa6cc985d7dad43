// The pictures of a build without cairo: PNG only, drawn with the built-in bitmap font.
#include "view/bitmap_font.h"
#include "view/draw_scene_bitmap.h"
#include "view/picture_backend.h"
#include "view/view_failure.h"

bool drawsVectorPictures() {
  return false;
}

bool drawsText(std::string_view text) {
  return drawsAllGlyphs(text);
}

TextMetrics pictureTextMetrics() {
  return bitmapTextMetrics();
}

RgbImage drawRasterPicture(const PictureScene& scene) {
  return drawSceneBitmap(scene);
}

void writeVectorPicture(OutputFile& file, const PictureScene&, PictureFormat, const std::string&) {
  failView(kFailureStatus, "%s: this boxpaint-view was built without cairo: PNG pictures only",
           file.finalPath.c_str());
}
