#include "view/write_png.h"

#include <png.h>

#include "view/view_failure.h"

namespace {

// libpng's error handler must not return; ending the run here also removes the file.
void pngError(png_structp png, png_const_charp message) {
  const OutputFile* file = static_cast<const OutputFile*>(png_get_error_ptr(png));
  failView(kFailureStatus, "%s: cannot write the picture: %s", file->finalPath.c_str(), message);
}

void pngWarning(png_structp, png_const_charp) {}

void pngWrite(png_structp png, png_bytep data, size_t length) {
  writeOutput(*static_cast<OutputFile*>(png_get_io_ptr(png)), data, length);
}

void pngFlush(png_structp) {}

}  // namespace

void writePng(OutputFile& file, const RgbImage& image, const std::vector<PngText>& texts) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &file, pngError, pngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    failView(kFailureStatus, "%s: not enough memory for the picture", file.finalPath.c_str());
  }
  png_set_write_fn(png, &file, pngWrite, pngFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_text> entries(texts.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    // Latin-1 text goes in a tEXt chunk; a text with other characters, which the
    // pictures hold as UTF-8, in an iTXt chunk, which says so.
    bool ascii = true;
    for (char c : texts[i].text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    entries[i].compression = ascii ? PNG_TEXT_COMPRESSION_NONE : PNG_ITXT_COMPRESSION_NONE;
    entries[i].key = const_cast<char*>(texts[i].keyword.c_str());
    entries[i].text = const_cast<char*>(texts[i].text.c_str());
    entries[i].text_length = texts[i].text.size();
  }
  if (!entries.empty()) png_set_text(png, info, entries.data(), static_cast<int>(entries.size()));
  png_write_info(png, info);
  const size_t rowBytes = static_cast<size_t>(image.width) * 3;
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, image.pixels.data() + rowBytes * static_cast<size_t>(y));
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
}
