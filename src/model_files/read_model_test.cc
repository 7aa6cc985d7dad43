#include "model_files/read_model.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <regex>
#include <string_view>
#include <vector>

#include "companion/exit_status.h"
#include "mesh/node_axis_testing.h"
#include "model_files/view_testing.h"
#include "output/format_model_value.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();

// A mesh of 1 x 1 x n cells: the model is one column of n values.
struct ColumnMesh {
  std::vector<double> one = {0, 1};
  std::vector<double> column;
  Mesh mesh;
  explicit ColumnMesh(size_t n) : column(n + 1) {
    mesh = Mesh{axisOver(one), axisOver(one), axisOver(column)};
  }
};

std::string modelText(const std::vector<std::string>& records) {
  std::string text;
  for (const std::string& record : records) text += record + "\r\n";
  return text;
}

bool sameDouble(double a, double b) {
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// The double the writer's text stands for, by the standard library's correctly rounded
// conversion (the exponent letter the three-digit form drops put back).
double textValue(std::string_view text) {
  text.remove_prefix(text.find_first_not_of(' '));
  if (text == "NaN") return std::numeric_limits<double>::quiet_NaN();
  if (text == "Infinity") return kInf;
  if (text == "-Infinity") return -kInf;
  char number[16];
  size_t length = 0;
  const bool threeDigitExponent = text.find('E') == std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (threeDigitExponent && i == text.size() - 4) number[length++] = 'E';
    number[length++] = text[i];
  }
  double value = 0;
  std::from_chars(number, number + length, value);
  return value;
}

TEST(ReadModelTest, ReadsBackEveryFormTheWriterMakes) {
  struct Case {
    const char* text;
    double value;
  };
  const Case cases[] = {
      {" 0.000E+00", 0.0},
      {" 5.000E-02", 0.05},
      {"-2.500E+00", -2.5},
      {" 1.235E+05", 123500.0},
      {" 1.000E+99", 1e99},
      {" 1.000+100", 1e100},
      {" 1.000-100", 1e-100},
      {"-1.000+300", -1e300},
      {" 2.225-308", 2.225e-308},
      {" 4.941-324", 4.941e-324},
      {"       NaN", NAN},
      {"  Infinity", kInf},
      {" -Infinity", -kInf},
      // The largest doubles are written as a text just beyond them.
      {" 1.798+308", DBL_MAX},
      {"-1.798+308", -DBL_MAX},
  };
  std::vector<std::string> records;
  for (const Case& c : cases) records.push_back(c.text);
  ScratchFolder folder;
  ColumnMesh column(records.size());
  const std::string name = folder.write("model.txt", modelText(records));
  ModelValues model;
  ASSERT_FALSE(readModel(name.c_str(), column.mesh, model));
  ASSERT_EQ(model.count, static_cast<int64_t>(records.size()));
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_TRUE(sameDouble(model.values[i], cases[i].value)) << cases[i].text;
  }
}

TEST(ReadModelTest, ReadsEachWrittenValueAsTheDoubleItsTextStandsFor) {
  std::mt19937_64 random(7);
  std::vector<std::string> records;
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    char text[kModelValueWidth];
    formatModelValue(value, text);
    records.emplace_back(text, kModelValueWidth);
  }
  ScratchFolder folder;
  ColumnMesh column(records.size());
  const std::string name = folder.write("model.txt", modelText(records));
  ModelValues model;
  ASSERT_FALSE(readModel(name.c_str(), column.mesh, model));
  for (size_t i = 0; i < records.size(); ++i) {
    const double expected = records[i] == " 1.798+308"   ? DBL_MAX
                            : records[i] == "-1.798+308" ? -DBL_MAX
                                                         : textValue(records[i]);
    ASSERT_TRUE(sameDouble(model.values[i], expected)) << records[i];
  }
}

// A failure is one line naming the file and the record.
void expectFailure(const CompanionFailure& failure, const char* message) {
  EXPECT_EQ(failure.status, kFailureStatus);
  EXPECT_TRUE(std::regex_search(failure.text, std::regex(message))) << failure.text;
  EXPECT_EQ(failure.text.find('\n'), std::string::npos) << failure.text;
}

TEST(ReadModelTest, NamesTheFileAndTheRecord) {
  struct Case {
    std::string text;
    const char* message;  // a regular expression
  };
  const std::string one = " 1.000E+00\r\n", two = " 2.000E+00\n";
  const Case cases[] = {
      {one + two, "model.txt:3: end of file after 2 records; the mesh has 3 cells \\(1 x 1 x 3\\)"},
      {one + two + one + two, "model.txt:4: more records than cells"},
      {one + one + one + "\n", "model.txt:4: more records than cells"},
      {one + "\r\n" + two,
       "model.txt:2: blank record; each record is one number, then its line end"},
      {one + two + " 3.000E",
       "model.txt:3: the file ends inside a record \\('3.000E', no line end\\)"},
      {one + two + " 3.000E+00", "model.txt:3: the file ends inside a record"},
      {one + " 0.000E+00 junk\n" + two,
       "model.txt:2: more than one value in the record \\('0.000E\\+00 junk'\\)"},
      {one + " 1.0, 2.0\r\n" + two, "model.txt:2: more than one value in the record"},
      {one + two + "        x7\n",
       "model.txt:3: unreadable value 'x7' \\(list-directed I/O syntax error\\)"},
      {one + "  1.0,2.0 \n" + two, "model.txt:2: unreadable value '1.0,2.0'"},
      {one + "     1e400\n" + two,
       "model.txt:2: unreadable value '1e400' \\(input conversion error\\)"},
      {"          \n" + one + two, "model.txt:1: no value in the record"},
  };
  ScratchFolder folder;
  ColumnMesh column(3);
  for (const Case& c : cases) {
    const std::string name = folder.write("model.txt", c.text);
    ModelValues model;
    expectFailure(readModel(name.c_str(), column.mesh, model), c.message);
  }
  ModelValues model;
  const CompanionFailure missing = readModel(folder.file("none.txt").c_str(), column.mesh, model);
  expectFailure(missing, "none.txt: cannot open: file not found");
  EXPECT_EQ(missing.message, 29);
}

// The caller's control stops a long read between batches, with message 200, and a read it
// lets go on reads every record.
TEST(ReadModelTest, StopsWhenTheCallerSays) {
  ScratchFolder folder;
  const size_t cells = 200000;
  ColumnMesh column(cells);
  std::string text;
  for (size_t i = 0; i < cells; ++i) text += i % 2 ? " 1.000E+00\r\n" : "      -2.5\r\n";
  const std::string name = folder.write("model.txt", text);
  std::vector<double> values(cells);
  for (bool goOn : {false, true}) {
    int asked = 0;
    struct Asked {
      int* count;
      bool goOn;
    } context{&asked, goOn};
    ReadControl control;
    control.keepGoing = [](void* data) {
      Asked& asked = *static_cast<Asked*>(data);
      ++*asked.count;
      return asked.goOn;
    };
    control.context = &context;
    const CompanionFailure failure =
        readModelValues(name.c_str(), column.mesh, values.data(), &control);
    EXPECT_GT(asked, 0);
    if (goOn) {
      EXPECT_FALSE(failure) << failure.text;
      EXPECT_EQ(values[cells - 1], 1.0);
    } else {
      expectFailure(failure, "model.txt:[0-9]+: reading stopped by the caller");
      EXPECT_EQ(failure.message, 200);
    }
  }
}

}  // namespace
