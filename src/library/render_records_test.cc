#include "library/render_records.h"

#include <gtest/gtest.h>

#include <bit>
#include <random>
#include <string>
#include <vector>

#include "output/format_model_value_exact.h"

namespace {

// Records of runs, repeats after other values, and random values, with each terminator,
// equal the exact rendering of each value followed by the terminator.
TEST(RenderRecordsTest, EqualsEachValueRenderedExactly) {
  std::mt19937_64 random(11);
  std::vector<double> values = {1.5, 1.5, 1.5, -0.0, 0.0, 0.0, 2.5, 1.5, 1.5};
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
  }
}

}  // namespace
