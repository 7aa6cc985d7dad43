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

namespace {

// Runs `body` with a writer on a fresh file and returns what the file holds after.
template <typename Body>
std::string written(Body body, TerminatorKind terminator = TerminatorKind::Normal) {
  std::string path = testing::TempDir() + "/record_writer_test.txt";
  std::remove(path.c_str());
  EXPECT_EQ(openConnection(2, path.data(), static_cast<int>(path.size()), OpenMode::Output), 0);
  RecordWriter writer;
  writer.connection = lookUpConnection(2);
  writer.connection->terminator = terminator;
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

TEST(RecordWriterTest, RealRecordsInBulkMatchOneOperationPerValue) {
  // Runs of repeated values, value changes inside and across blocks, NaN payloads and
  // both zeros: the bulk path must give exactly the bytes of one emit per value.
  std::vector<double> values;
  uint64_t state = 12345;
  for (int i = 0; i < 300000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    uint64_t pick = state >> 60;
    double value = pick < 10 ? 0.05 : pick < 12 ? -0.0 : pick < 13 ? 1e-310 : 0.1 * (pick - 12);
    if (pick == 15) {
      uint64_t bits = 0x7FF8000000000000u | (state & 0xFFFF);
      std::memcpy(&value, &bits, sizeof value);
    }
    values.push_back(value);
  }
  for (TerminatorKind terminator :
       {TerminatorKind::Normal, TerminatorKind::LF, TerminatorKind::CR, TerminatorKind::CRLF}) {
    std::string plain = written(
        [&](RecordWriter& w) {
          for (double v : values) {
            OutputValue value;
            value.real = v;
            emit(w, modelValueLayout, {&value, 1});
          }
        },
        terminator);
    std::string bulk = written(
        [&](RecordWriter& w) {
          // Ready records copied many at a time, as the model writer makes them.
          const size_t length = modelRecordLength(w);
          for (size_t next = 0; next < values.size();) {
            char* room = nullptr;
            const size_t batch = reserveModelRecords(w, values.size() - next, room);
            for (size_t i = 0; i < batch; ++i) {
              char record[12];
              formatModelValue(values[next + i], record);
              terminateModelRecord(w, record);
              std::memcpy(room + i * length, record, length);
            }
            completeModelRecords(w, batch);
            next += batch;
          }
        },
        terminator);
    EXPECT_EQ(plain.size(), bulk.size());
    EXPECT_TRUE(plain == bulk) << "terminator " << static_cast<int>(terminator);
  }
}

}  // namespace
