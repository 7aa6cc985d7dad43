// A small built-in font for the labels of a picture: 5 x 8 pixel glyphs (the bottom
// row for descenders) for the printable characters of ASCII and Latin-1 and the Greek
// letters and signs of units (Omega, Delta, mu, rho, sigma, the minus sign) and the
// ellipsis, drawn at a whole-number scale. Texts are UTF-8.
#pragma once

#include <string_view>

#include "view/scene/rgb_image.h"

/// Pixels a glyph is wide and tall at scale 1 (the tall side includes the descender row).
constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 8;

/// Rows above the cap height, which the accents of capitals take (rows -2 and -1).
constexpr int kGlyphRowsAbove = 2;

/// Pixels from one character to the next at scale 1.
constexpr int kGlyphAdvance = kGlyphWidth + 1;

/// Whether the font has a glyph of its own for the character `code`.
bool hasGlyph(char32_t code);

/// Whether every character of `text` has a glyph of its own.
bool drawsAllGlyphs(std::string_view text);

/// Whether the glyph of `code` sets pixel (column, row), with (0, 0) the top left of its
/// cap height and `row` from -kGlyphRowsAbove; characters without a glyph show as '?'.
bool glyphPixel(char32_t code, int column, int row);

/// Pixels `text` takes along its line at `scale`.
int textWidth(std::string_view text, int scale);

/// Draws `text` left to right with its top left corner at (x, y).
void drawText(RgbImage& image, int x, int y, std::string_view text, Rgb colour, int scale);

/// Draws `text` turned a quarter left, reading upward from (x, y), which is the bottom
/// left corner of the turned text; the glyph tops face the left.
void drawTextUpward(RgbImage& image, int x, int y, std::string_view text, Rgb colour, int scale);
