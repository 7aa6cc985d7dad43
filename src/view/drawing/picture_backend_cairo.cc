// The pictures of a build with cairo: anti-aliased text from the system's sans-serif
// font, PNG, SVG and PDF pictures of one scene.
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <memory>

#include "companion/exit_status.h"
#include "view/drawing/picture_backend.h"

namespace {

constexpr const char* kFontFamily = "sans-serif";

// Units by which a vector picture grows each tile to the right and downward.
constexpr double kTileOverlap = 0.25;

void selectFont(cairo_t* context, double size) {
  cairo_select_font_face(context, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(context, size);
}

// A context that only measures text, made once and kept for the run.
cairo_t* measuringContext() {
  static cairo_t* const context = [] {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* created = cairo_create(surface);
    cairo_surface_destroy(surface);
    return created;
  }();
  return context;
}

double textAdvance(cairo_t* context, const std::string& text, double size) {
  selectFont(context, size);
  cairo_text_extents_t extents;
  cairo_text_extents(context, text.c_str(), &extents);
  return extents.x_advance;
}

double cairoTextWidth(const std::string& text, double size) {
  return textAdvance(measuringContext(), text, size);
}

// Height of the capitals per unit of font size.
double capHeight() {
  static const double height = [] {
    selectFont(measuringContext(), 100);
    cairo_text_extents_t extents;
    cairo_text_extents(measuringContext(), "H", &extents);
    return extents.height / 100;
  }();
  return height;
}

// A rectangle from its corners, so that two rectangles that share an edge meet on it
// exactly (a far edge made as origin plus width may round elsewhere).
void addBox(cairo_t* context, double x0, double y0, double x1, double y1) {
  cairo_move_to(context, x0, y0);
  cairo_line_to(context, x1, y0);
  cairo_line_to(context, x1, y1);
  cairo_line_to(context, x0, y1);
  cairo_close_path(context);
}

// `pixels`: a PNG, whose cells keep exact colours with edges on whole pixels, each edge
// snapped to the nearest pixel boundary alike on both its sides, so that neighbouring
// cells meet without a gap or an overlap; otherwise a vector picture, left to its
// viewer to smooth.
void drawScene(cairo_t* context, const PictureScene& scene, bool pixels) {
  cairo_set_source_rgb(context, 1, 1, 1);
  cairo_paint(context);
  if (pixels) cairo_set_antialias(context, CAIRO_ANTIALIAS_NONE);
  const auto snap = [pixels](double x) { return pixels ? std::round(x) : x; };
  for (const SceneRect& rect : scene.rects) {
    cairo_set_source_rgba(context, rect.colour.r / 255.0, rect.colour.g / 255.0,
                          rect.colour.b / 255.0, rect.opacity);
    const double grow = rect.tile && !pixels ? kTileOverlap : 0;
    addBox(context, snap(rect.x0), snap(rect.y0), snap(rect.x1) + grow, snap(rect.y1) + grow);
    cairo_fill(context);
  }
  cairo_set_source_rgb(context, 0, 0, 0);
  const double cap = capHeight();
  for (const SceneText& text : scene.texts) {
    const double width = textAdvance(context, text.text, text.size);
    const double along = text.align == TextAlign::Start    ? 0
                         : text.align == TextAlign::Centre ? width / 2
                                                           : width;
    cairo_save(context);
    cairo_translate(context, text.x, text.y);
    // Turned a quarter left, the line runs up the picture and the capitals face left.
    if (text.upward) cairo_rotate(context, -M_PI / 2);
    cairo_move_to(context, -along, cap * text.size / 2);
    cairo_show_text(context, text.text.c_str());
    cairo_restore(context);
  }
}

// A surface or a drawing context, destroyed when it goes, whatever way the drawing ends.
struct SurfaceRelease {
  void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextRelease {
  void operator()(cairo_t* context) const { cairo_destroy(context); }
};
using HeldSurface = std::unique_ptr<cairo_surface_t, SurfaceRelease>;
using HeldContext = std::unique_ptr<cairo_t, ContextRelease>;

cairo_status_t writeChunk(void* closure, const unsigned char* data, unsigned int length) {
  return writeOutput(*static_cast<OutputFile*>(closure), data, length) ? CAIRO_STATUS_SUCCESS
                                                                       : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

bool drawsVectorPictures() {
  return true;
}

bool drawsText(std::string_view) {
  return true;
}

// The font library loses a few small allocations of its font lookup for good; a build
// with the leak checker would otherwise fail every picture on them, or note them on
// standard error, where a run must print nothing but its one-line errors.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}

// Depth of the descenders per unit of font size.
double descent() {
  static const double depth = [] {
    selectFont(measuringContext(), 100);
    cairo_font_extents_t extents;
    cairo_font_extents(measuringContext(), &extents);
    return extents.descent / 100;
  }();
  return depth;
}

TextMetrics pictureTextMetrics() {
  TextMetrics metrics;
  metrics.width = cairoTextWidth;
  metrics.capHeight = capHeight();
  metrics.descent = descent();
  return metrics;
}

CompanionFailure drawRasterPicture(const PictureScene& scene, RgbImage& image) {
  const HeldSurface surface(
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, scene.width, scene.height));
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
  {
    const HeldContext context(cairo_create(surface.get()));
    drawScene(context.get(), scene, true);
    status = cairo_status(context.get());
  }
  cairo_surface_flush(surface.get());
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface.get());
  if (status != CAIRO_STATUS_SUCCESS) {
    return formattedFailure(kFailureStatus, "cannot draw the picture: %s",
                            cairo_status_to_string(status));
  }
  image = makeImage(scene.width, scene.height, Rgb{255, 255, 255});
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < scene.height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(stride) * y);
    uint8_t* to = image.pixels.data() + 3 * static_cast<size_t>(scene.width) * y;
    for (int x = 0; x < scene.width; ++x) {
      *to++ = static_cast<uint8_t>(row[x] >> 16);
      *to++ = static_cast<uint8_t>(row[x] >> 8);
      *to++ = static_cast<uint8_t>(row[x]);
    }
  }
  return {};
}

CompanionFailure writeVectorPicture(OutputFile& file, const PictureScene& scene,
                                    PictureFormat format, const std::string& title) {
  const HeldSurface surface(
      format == PictureFormat::Svg
          ? cairo_svg_surface_create_for_stream(writeChunk, &file, scene.width, scene.height)
          : cairo_pdf_surface_create_for_stream(writeChunk, &file, scene.width, scene.height));
  if (format == PictureFormat::Svg) {
    cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PT);
  } else {
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "boxpaint-view");
  }
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
  {
    const HeldContext context(cairo_create(surface.get()));
    drawScene(context.get(), scene, false);
    status = cairo_status(context.get());
  }
  cairo_surface_finish(surface.get());
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface.get());
  if (status == CAIRO_STATUS_SUCCESS) return {};
  if (file.error != 0) return outputWriteFailure(file);
  return formattedFailure(kFailureStatus, "%s: cannot write the picture: %s",
                          file.finalPath.c_str(), cairo_status_to_string(status));
}
