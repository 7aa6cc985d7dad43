#include "view/drawing/bitmap_font.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ios>
#include <set>
#include <string>

namespace {

std::string glyphBits(char32_t c) {
  std::string bits;
  for (int row = -kGlyphRowsAbove; row < kGlyphHeight; ++row) {
    for (int column = 0; column < kGlyphWidth; ++column)
      bits += glyphPixel(c, column, row) ? '#' : '.';
  }
  return bits;
}

TEST(BitmapFontTest, EveryPrintableCharacterHasAGlyphOfItsOwn) {
  std::set<std::string> seen;
  for (char c = '!'; c <= '~'; ++c) {
    const std::string bits = glyphBits(c);
    EXPECT_NE(bits.find('#'), std::string::npos) << c;
    EXPECT_TRUE(seen.insert(bits).second) << "glyph of " << c << " repeats another";
  }
  EXPECT_EQ(glyphBits(' '), std::string(kGlyphWidth * (kGlyphRowsAbove + kGlyphHeight), '.'));
  EXPECT_EQ(glyphBits('\x7F'), glyphBits('?'));
}

TEST(BitmapFontTest, LatinOneAndTheSignsOfUnitsHaveGlyphsOfTheirOwn) {
  std::set<std::string> seen;
  for (char c = ' '; c <= '~'; ++c) seen.insert(glyphBits(static_cast<char32_t>(c)));
  std::u32string codes = U"\u0394\u03A9\u03C1\u03C3\u2026";  // Delta, Omega, rho, sigma, ...
  for (char32_t code = 0xA1; code <= 0xFF; ++code) codes.push_back(code);
  for (const char32_t code : codes) {
    EXPECT_TRUE(hasGlyph(code)) << std::hex << static_cast<uint32_t>(code);
    EXPECT_TRUE(seen.insert(glyphBits(code)).second)
        << std::hex << static_cast<uint32_t>(code) << " repeats a glyph";
  }
  // The same sign under two names; the no-break space is a space.
  EXPECT_EQ(glyphBits(U'\u03BC'), glyphBits(U'\u00B5'));
  EXPECT_EQ(glyphBits(U'\u2212'), glyphBits('-'));
  EXPECT_EQ(glyphBits(U'\u00A0'), glyphBits(' '));
  EXPECT_FALSE(hasGlyph(U'\u0416'));  // Cyrillic Zhe
  EXPECT_EQ(glyphBits(U'\u0416'), glyphBits('?'));
  EXPECT_TRUE(
      drawsAllGlyphs("resistivity \xCF\x81 (\xCE\xA9\xC2\xB7m), \xC2\xB0"
                     "C, m\xC2\xB2"));
  EXPECT_FALSE(drawsAllGlyphs("\xD0\x96"));
  EXPECT_EQ(textWidth("\xCE\xA9\xC2\xB7m", 1), 3 * kGlyphAdvance - 1);  // one glyph a character
}

TEST(BitmapFontTest, DrawsAlongAndUpward) {
  RgbImage image = makeImage(40, 40, Rgb{255, 255, 255});
  const Rgb ink{0, 0, 0};
  EXPECT_EQ(textWidth("", 2), 0);
  EXPECT_EQ(textWidth("ab", 2), (2 * kGlyphAdvance - 1) * 2);
  drawText(image, 1, 2, "L", ink, 2);  // L: left column and bottom row of the cap height
  EXPECT_EQ(pixelAt(image, 1, 2), ink);
  EXPECT_EQ(pixelAt(image, 2, 2 + 13), ink);
  EXPECT_EQ(pixelAt(image, 1 + 9, 2 + 12), ink);
  EXPECT_EQ(pixelAt(image, 1 + 9, 2), (Rgb{255, 255, 255}));
  RgbImage turned = makeImage(40, 40, Rgb{255, 255, 255});
  drawTextUpward(turned, 1, 30, "L", ink, 1);  // its left column becomes the bottom row
  for (int x = 1; x < 1 + 7; ++x) EXPECT_EQ(pixelAt(turned, x, 29), ink) << x;
  EXPECT_EQ(pixelAt(turned, 7, 25), ink);  // its bottom row, the right-hand column
  EXPECT_EQ(pixelAt(turned, 1, 25), (Rgb{255, 255, 255}));
}

}  // namespace
