// Writing a picture as a PNG file.
#pragma once

#include <string>
#include <vector>

#include "model_files/output_file.h"
#include "view/scene/rgb_image.h"

/// One text entry of a PNG file: a keyword of 1 to 79 Latin-1 characters, and its text,
/// ASCII or UTF-8.
struct PngText {
  std::string keyword;
  std::string text;
};

/// Writes `image` as an 8-bit RGB PNG with the text entries `texts` to `file`; a failure
/// names the output.
CompanionFailure writePng(OutputFile& file, const RgbImage& image,
                          const std::vector<PngText>& texts);
