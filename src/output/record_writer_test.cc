#include "output/record_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>

#include "output/format_model_value.h"
#include "output/model_value_layout.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/platform/scratch_path_testing.h"

namespace {

// Runs `body` with a writer on a fresh file and returns what the file holds after.
template <typename Body>
std::string written(Body body) {
  std::string path = scratchPath("record_writer", "model.txt");
  std::remove(path.c_str());
  EXPECT_FALSE(openOutput(2, path.data(), static_cast<int>(path.size())));
  RecordWriter writer;
  writer.connection = lookUpConnection(2);
  body(writer);
  closeConnection(2);
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

TEST(RecordWriterTest, BreaksMakeRecordsAndTheLastRecordIsAlwaysWritten) {
  using K = ElementKind;
  const LayoutElement breaksAround[] = {{K::RecordBreak}, {K::Literal, " a"}, {K::RecordBreak},
                                        {K::RecordBreak}, {K::Literal, "b"},  {K::RecordBreak}};
  const LayoutElement textBetween[] = {
      {K::Literal, " File "}, {K::TextItem}, {K::Literal, " not found."}};
  const LayoutElement nothing[] = {{K::TextItem}};
  EXPECT_EQ(written([&](RecordWriter& w) { emit(w, breaksAround, {}); }),
            "\r\n a\r\n\r\nb\r\n\r\n");
  OutputValue empty;
  OutputValue name{"x y\"z"};
  EXPECT_EQ(written([&](RecordWriter& w) {
              emit(w, textBetween, {&empty, 1});
              emit(w, textBetween, {&name, 1});
              emit(w, nothing, {&empty, 1});
            }),
            " File  not found.\r\n File x y\"z not found.\r\n\r\n");
}

TEST(RecordWriterTest, RealItemsRenderEachValueEvenWhenRepeated) {
  const LayoutElement real[] = {{ElementKind::RealItem}};
  double values[] = {0.05,
                     0.05,
                     -0.0,
                     0.0,
                     std::numeric_limits<double>::quiet_NaN(),
                     -std::numeric_limits<double>::quiet_NaN(),
                     1e100,
                     0.05};
  std::string text = written([&](RecordWriter& w) {
    for (double v : values) {
      OutputValue value;
      value.real = v;
      emit(w, real, {&value, 1});
    }
  });
  EXPECT_EQ(text,
            " 5.000E-02\r\n 5.000E-02\r\n 0.000E+00\r\n 0.000E+00\r\n       NaN\r\n"
            "       NaN\r\n 1.000+100\r\n 5.000E-02\r\n");
}

}  // namespace
