#include "view/bitmap_font.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::string glyphBits(char c) {
  std::string bits;
  for (int row = 0; row < kGlyphHeight; ++row) {
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
  EXPECT_EQ(glyphBits(' '), std::string(kGlyphWidth * kGlyphHeight, '.'));
  EXPECT_EQ(glyphBits('\x7F'), glyphBits('?'));
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
