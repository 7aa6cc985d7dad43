// A small built-in font for the labels of a picture: 5 x 8 pixel glyphs (the bottom
// row for descenders) for the printable ASCII characters, drawn at a whole-number scale.
#pragma once

#include <string_view>

#include "view/rgb_image.h"

/// Pixels a glyph is wide and tall at scale 1 (the tall side includes the descender row).
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 8;

/// Pixels from one character to the next at scale 1.
constexpr int kGlyphAdvance = kGlyphWidth + 1;

/// Whether the glyph of `c` sets pixel (column, row), with (0, 0) its top left;
/// characters without a glyph show as '?'.
bool glyphPixel(char c, int column, int row);

/// Pixels `text` takes along its line at `scale`.
int textWidth(std::string_view text, int scale);

/// Draws `text` left to right with its top left corner at (x, y).
void drawText(RgbImage& image, int x, int y, std::string_view text, Rgb colour, int scale);

/// Draws `text` turned a quarter left, reading upward from (x, y), which is the bottom
/// left corner of the turned text; the glyph tops face the left.
void drawTextUpward(RgbImage& image, int x, int y, std::string_view text, Rgb colour, int scale);
