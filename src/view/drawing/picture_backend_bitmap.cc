// The pictures of a build without cairo: PNG only, drawn with the built-in bitmap font.
#include "companion/exit_status.h"
#include "view/drawing/bitmap_font.h"
#include "view/drawing/draw_scene_bitmap.h"
#include "view/drawing/picture_backend.h"

bool drawsVectorPictures() {
  return false;
}

bool drawsText(std::string_view text) {
  return drawsAllGlyphs(text);
}

TextMetrics pictureTextMetrics() {
  return bitmapTextMetrics();
}

CompanionFailure drawRasterPicture(const PictureScene& scene, RgbImage& image) {
  image = drawSceneBitmap(scene);
  return {};
}

CompanionFailure writeVectorPicture(OutputFile& file, const PictureScene&, PictureFormat,
                                    const std::string&) {
  return formattedFailure(kFailureStatus,
                          "%s: this boxpaint-view was built without cairo: PNG pictures only",
                          file.finalPath.c_str());
}
