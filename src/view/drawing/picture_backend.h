// The drawing library behind the pictures. A build with cairo draws anti-aliased text
// and writes PNG, SVG and PDF pictures; a build without it draws PNG pictures with the
// built-in bitmap font. Both draw the same scene.
#pragma once

#include <string>
#include <string_view>

#include "model_files/output_file.h"
#include "view/scene/picture_scene.h"
#include "view/scene/rgb_image.h"

/// The kinds of picture file, as the output name's ending says.
enum class PictureFormat { Png, Svg, Pdf };

/// Whether this build writes SVG and PDF pictures.
bool drawsVectorPictures();

/// Whether this build draws every character of `text` (valid UTF-8) as it is: a build
/// with cairo draws any, the built-in font those it has glyphs for.
bool drawsText(std::string_view text);

/// The metrics of the text this build draws.
TextMetrics pictureTextMetrics();

/// The scene in pixels, for a PNG picture, in `image`; a failure when it cannot be drawn.
CompanionFailure drawRasterPicture(const PictureScene& scene, RgbImage& image);

/// Writes the scene as an SVG or PDF picture titled `title` to `file`, one picture unit
/// to the point; a failure names the output. Only where `drawsVectorPictures()`.
CompanionFailure writeVectorPicture(OutputFile& file, const PictureScene& scene,
                                    PictureFormat format, const std::string& title);
