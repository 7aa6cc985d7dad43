#include "view/scan_model_records.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "view/view_testing.h"

namespace {

ModelRecordScan scanText(const ScratchFolder& folder, const std::string& text) {
  const int fd = open(folder.write("model.txt", text).c_str(), O_RDONLY);
  ModelRecordScan scan = scanModelRecords(fd);
  EXPECT_EQ(lseek(fd, 0, SEEK_CUR), 0);  // the reader still starts at the beginning
  close(fd);
  return scan;
}

TEST(ScanModelRecordsTest, CountsRecordsAsTheReaderCutsThem) {
  struct Case {
    const char* name;
    std::string text;
    int64_t records;
    int64_t firstBlank;
  };
  const Case cases[] = {
      {"empty file", "", 0, 0},
      {"CR LF ends", " 1.000E+00\r\n 2.000E+00\r\n", 2, 0},
      {"LF ends", "1\n2\n3\n", 3, 0},
      {"no last end", "1\n2", 2, 0},
      {"blank records after the values", "1\n2\n\n  \r\n\t\n", 2, 0},
      {"a blank record among the values", "1\n\n3\n", 3, 2},
      {"only blanks count as blank", "1\n \t\r\n3\n", 3, 2},
      {"the first of several blanks", "1\n\n\n4\n\n6\n", 6, 2},
      {"the end mark ends the file", "1\n2\n\x1A\n3\n", 2, 0},
      {"the mark before its CRs", "1\n\x1A\r\r\n3\n", 1, 0},
      {"the mark as the last text", "1\n\x1A", 1, 0},
      {"the mark with more is a value", "1\n\x1A\x1A\n", 2, 0},
      {"a CR before the mark is a value", "1\n\r\x1A\n", 2, 0},
  };
  ScratchFolder folder;
  for (const Case& c : cases) {
    const ModelRecordScan scan = scanText(folder, c.text);
    EXPECT_EQ(scan.records, c.records) << c.name;
    EXPECT_EQ(scan.firstBlank, c.firstBlank) << c.name;
    EXPECT_EQ(scan.readError, 0) << c.name;
  }
}

TEST(ScanModelRecordsTest, FindsTheTextOfTheLargestDoubles) {
  ScratchFolder folder;
  const ModelRecordScan scan = scanText(
      folder, " 1.000E+00\r\n 1.798+308\r\n-1.798+308\r\n1.798+308 \n 1.797+308\r\n1.798E+308\n");
  ASSERT_EQ(scan.largest.size(), 3u);
  EXPECT_EQ(scan.largest[0].line, 2);
  EXPECT_FALSE(scan.largest[0].negative);
  EXPECT_EQ(scan.largest[1].line, 3);
  EXPECT_TRUE(scan.largest[1].negative);
  EXPECT_EQ(scan.largest[2].line, 4);
}

TEST(ScanModelRecordsTest, FollowsRecordsAcrossBlocksOfAnySize) {
  // Many records cross the boundaries of the scan's blocks; one is longer than a block.
  std::string text;
  for (int i = 0; i < 300000; ++i) text += i == 1234 ? "\n" : " 1.798+308\r\n";
  text += std::string(3 << 20, '7') + "\n 1.798+308";
  ScratchFolder folder;
  const ModelRecordScan scan = scanText(folder, text);
  EXPECT_EQ(scan.records, 300002);
  EXPECT_EQ(scan.firstBlank, 1235);
  ASSERT_EQ(scan.largest.size(), 300000u);
  EXPECT_EQ(scan.largest.back().line, 300002);
}

TEST(ScanModelRecordsTest, ReportsAFailedRead) {
  ScratchFolder folder;
  const int fd = open(folder.path.c_str(), O_RDONLY);  // a folder cannot be read
  EXPECT_NE(scanModelRecords(fd).readError, 0);
  close(fd);
}

}  // namespace
