#include "model_files/model_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

TEST(ModelRecordTest, TakesOneNumberAtAnyWidthAndItsLineEnd) {
  struct Case {
    std::string text;
    bool ended;
    RecordProblem problem;
    double value;  // for a sound record
  };
  const Case cases[] = {
      {" 1.000E+00", true, RecordProblem::None, 1.0},
      {" 1.000E+00\r", true, RecordProblem::None, 1.0},
      {"-2.500E-03", true, RecordProblem::None, -2.5e-3},
      {" 1.000+100", true, RecordProblem::None, 1e100},
      {"       NaN", true, RecordProblem::None, NAN},
      {" -Infinity", true, RecordProblem::None, -INFINITY},
      {" 1.798+308", true, RecordProblem::None, DBL_MAX},
      {"-1.798+308", true, RecordProblem::None, -DBL_MAX},
      {"1.5       ", true, RecordProblem::None, 1.5},
      {"     1.5d3", true, RecordProblem::None, 1500},
      // Other programs' widths: numpy's savetxt at its default, %10.3E, %.6g and %15.7e.
      {"1.098006265816278831e-01", true, RecordProblem::None, 1.098006265816278831e-01},
      {"-1.000000000000000000e+100\r", true, RecordProblem::None, -1e100},
      {" 1.098E-01", true, RecordProblem::None, 0.1098},
      {"0.109801", true, RecordProblem::None, 0.109801},
      {"1e+06", true, RecordProblem::None, 1e6},
      {"-nan", true, RecordProblem::None, NAN},
      {"inf", true, RecordProblem::None, INFINITY},
      {"  1.0980063e-01", true, RecordProblem::None, 0.10980063},
      {"\t2.5\t", true, RecordProblem::None, 2.5},
      {"", true, RecordProblem::Empty, 0},
      {"\r", true, RecordProblem::Empty, 0},
      {" 1.000E+00\r\r", true, RecordProblem::Syntax, 0},
      {" 0.000E+00 junk", true, RecordProblem::Several, 0},
      {" 1.0, 2.0", true, RecordProblem::Several, 0},
      {"1.0 2.0\r", true, RecordProblem::Several, 0},
      {"1.0\t2.0", true, RecordProblem::Several, 0},
      {" 0.000E", false, RecordProblem::Unended, 0},
      {" 1.000E+00", false, RecordProblem::Unended, 0},
      {"          ", true, RecordProblem::NoValue, 0},
      {"  1.0,2.0 ", true, RecordProblem::Syntax, 0},
      {"   2*1.000", true, RecordProblem::Syntax, 0},
      {"     'abc'", true, RecordProblem::Syntax, 0},
      {"         ,", true, RecordProblem::Syntax, 0},
      {"     1e400", true, RecordProblem::Conversion, 0},
  };
  for (const Case& c : cases) {
    LineView line{c.text, static_cast<int64_t>(c.text.size()), c.ended};
    double value = 7;
    EXPECT_EQ(readModelRecord(line, value), c.problem) << c.text;
    if (c.problem != RecordProblem::None) {
      EXPECT_EQ(value, 7) << c.text;  // left alone
    } else if (std::isnan(c.value)) {
      EXPECT_TRUE(std::isnan(value)) << c.text;
    } else {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(ModelRecordTest, JudgesALongLineByItsFullLength) {
  // The line reader keeps only the first bytes of a very long line.
  const LineView line{" 1.000E+00", 5000, true};
  double value = 0;
  EXPECT_EQ(readModelRecord(line, value), RecordProblem::TooLong);
}

}  // namespace

// The fast form reads every record the writer makes with an exponent within 22 of 3 as
// readModelRecord does, bit for bit: random digits at every exponent, both signs, both
// line ends; records of any other form it leaves to readModelRecord, and a run of records
// it reads up to the first of them.
TEST(ModelRecordTest, ExactRecordsReadAsReadModelRecordReadsThem) {
  std::mt19937 random(30);
  for (const std::string end : {"\r\n", "\n"}) {
    std::string run;
    size_t runRecords = 0;
    for (int exponent = -99; exponent <= 99; ++exponent) {
      for (int i = 0; i < 300; ++i) {
        char text[16];
        std::snprintf(text, sizeof text, "%c%u.%03uE%c%02d", i % 3 ? ' ' : '-',
                      static_cast<unsigned>(random() % 10), static_cast<unsigned>(random() % 1000),
                      exponent < 0 ? '-' : '+', std::abs(exponent));
        const std::string record = std::string(text) + end;
        double fast = 7, plain = 7;
        size_t length = 0;
        const size_t read = readExactRecords(record, &fast, 1, length);
        LineView line{std::string_view(record).substr(0, 10 + end.size() - 1),
                      static_cast<int64_t>(10 + end.size() - 1), true};
        ASSERT_EQ(readModelRecord(line, plain), RecordProblem::None) << record;
        EXPECT_EQ(read, std::abs(exponent - 3) <= 22 ? 1u : 0u) << record;
        if (read == 1) {
          EXPECT_EQ(length, record.size());
          EXPECT_EQ(std::bit_cast<uint64_t>(fast), std::bit_cast<uint64_t>(plain)) << record;
          run += record;
          ++runRecords;
        }
      }
    }
    for (const char* other : {" 1.000+100", " 1.0E+00", "       NaN", " 1.000E+0x", "+1.000E+00"}) {
      std::vector<double> values(runRecords + 1);
      size_t length = 0;
      EXPECT_EQ(readExactRecords(run + other + end + run, values.data(), values.size(), length),
                runRecords)
          << other;
    }
  }
}
