#include "view/drawing/write_png.h"

#include <png.h>

#include <cstdio>

#include "companion/exit_status.h"

namespace {

// What a failing libpng said, for the failure made of it.
struct PngWriting {
  OutputFile* file;
  char message[256] = {};
};

// libpng's error handler must not return: it goes back to the setjmp of writeRows.
void pngError(png_structp png, png_const_charp message) {
  PngWriting* writing = static_cast<PngWriting*>(png_get_error_ptr(png));
  std::snprintf(writing->message, sizeof writing->message, "%s", message);
  png_longjmp(png, 1);
}

void pngWarning(png_structp, png_const_charp) {}

void pngWrite(png_structp png, png_bytep data, size_t length) {
  PngWriting* writing = static_cast<PngWriting*>(png_get_io_ptr(png));
  // A write that failed stops the picture; the output names it.
  if (!writeOutput(*writing->file, data, length)) png_error(png, "write failed");
}

void pngFlush(png_structp) {}

// Writes the picture's header, rows and end; false when libpng failed. It holds nothing
// that a jump back from libpng's error handler would need to undo.
bool writeRows(png_structp png, png_infop info, const RgbImage& image, png_text* entries,
               int entryCount) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
               static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (entryCount > 0) png_set_text(png, info, entries, entryCount);
  png_write_info(png, info);
  const size_t rowBytes = static_cast<size_t>(image.width) * 3;
  for (int y = 0; y < image.height; ++y) {
    png_write_row(png, image.pixels.data() + rowBytes * static_cast<size_t>(y));
  }
  png_write_end(png, info);
  return true;
}

}  // namespace

CompanionFailure writePng(OutputFile& file, const RgbImage& image,
                          const std::vector<PngText>& texts) {
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
  PngWriting writing{&file};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &writing, pngError, pngWarning);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return formattedFailure(kFailureStatus, "%s: not enough memory for the picture",
                            file.finalPath.c_str());
  }
  png_set_write_fn(png, &writing, pngWrite, pngFlush);
  const bool written =
      writeRows(png, info, image, entries.data(), static_cast<int>(entries.size()));
  png_destroy_write_struct(&png, &info);
  if (written) return {};
  if (file.error != 0) return outputWriteFailure(file);
  return formattedFailure(kFailureStatus, "%s: cannot write the picture: %s",
                          file.finalPath.c_str(), writing.message);
}
