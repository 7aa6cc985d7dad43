#include "library/render_records.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "output/format_model_value_exact.h"

namespace {

// Records of runs, repeats after other values, and random values, with each terminator,
// equal the exact rendering of each value followed by the terminator, and so do the texts
// rendered between terminators in place.
TEST(RenderRecordsTest, EqualsEachValueRenderedExactly) {
  std::mt19937_64 random(11);
  std::vector<double> values = {1.5, 1.5, 1.5, -0.0, 0.0, 0.0, 2.5, 1.5, 1.5};
  // Every decade the quick form takes and those around it: random digits, the powers of
  // ten and their neighbours, and halves that are exact ties.
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  for (int power = -24; power <= 30; ++power) {
    const double ten = std::pow(10.0, power);
    for (int i = 0; i < 2000; ++i) values.push_back((i % 2 ? -1 : 1) * mantissa(random) * ten);
    values.insert(values.end(), {ten, std::nextafter(ten, 0.0), std::nextafter(ten, 1e300),
                                 9.9995 * ten, 9.99949999 * ten});
  }
  values.insert(values.end(), {1000.5, 1001.5, 9999.5, 99995.0, 0.5, 2.5, 1e22, 1e-22});
  for (int i = 0; i < 5000; ++i) {
    values.push_back(std::bit_cast<double>(random()));
    if (i % 7 == 0) values.push_back(values.back());
  }
  for (boxpaint::Terminator terminator :
       {boxpaint::Terminator::CRLF, boxpaint::Terminator::LF, boxpaint::Terminator::CR}) {
    const std::string_view end = terminatorBytes(terminator);
    std::string expected;
    for (double value : values) {
      char text[kModelValueWidth];
      formatModelValueExact(value, text);
      expected.append(text, sizeof text).append(end);
    }
    std::string rendered(values.size() * boxpaint::recordLength(terminator), '#');
    boxpaint::renderModelRecords(values, terminator, rendered.data());
    EXPECT_EQ(rendered, expected);
    // The texts alone, between terminators already in place.
    const size_t stride = kModelValueWidth + end.size();
    std::string texts = expected;
    for (size_t at = 0; at < texts.size(); at += stride)
      texts.replace(at, kModelValueWidth, "##########");
    renderTexts(values.data(), values.size(), stride, texts.data());
    EXPECT_EQ(texts, expected);
  }
}

}  // namespace
