#include "model_files/view_failure.h"

#include <gtest/gtest.h>

#include "companion/end_program.h"
#include "model_files/output_file.h"
#include "model_files/record_text.h"
#include "model_files/view_testing.h"

namespace {

TEST(DescribeRuntimeFailureTest, SaysWhatWentWrongWhere) {
  struct Case {
    int number;
    const char* file;
    int64_t line;
    const char* record;
    const char* text;
  };
  const Case cases[] = {
      {64, "m.txt", 7, "abc", "m.txt:7: unreadable value 'abc' (input conversion error)"},
      {59, "m.txt", 7, "", "m.txt:7: unreadable value (list-directed I/O syntax error)"},
      {59, "mesh.txt", 0, "", "mesh.txt: unreadable value (list-directed I/O syntax error)"},
      {24, "mesh.txt", 0, "", "mesh.txt: end-of-file during read"},
      {39, "m.txt", 3, "", "m.txt:3: error during read"},
      {41, nullptr, 0, "", "insufficient virtual memory"},
      {9999, nullptr, 0, "", "run-time error 9999"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(describeRuntimeFailure(c.number, c.file, c.line, c.record), c.text);
  }
}

TEST(RecordTextTest, QuotesOneRecordOfAFile) {
  ScratchFolder folder;
  const std::string name =
      folder.write("m.txt", " 1.000E+00\r\n  bad value \r\n" + std::string(60, 'x') + "\nlast\x01");
  EXPECT_EQ(recordText(name.c_str(), 1), "1.000E+00");
  EXPECT_EQ(recordText(name.c_str(), 2), "bad value");
  EXPECT_EQ(recordText(name.c_str(), 3), std::string(kRecordQuoteLimit, 'x') + "...");
  EXPECT_EQ(recordText(name.c_str(), 4), "last?");
  EXPECT_EQ(recordText(name.c_str(), 5), "");
  EXPECT_EQ(recordText(folder.file("none").c_str(), 1), "");
}

TEST(OutputFileTest, AppearsUnderItsNameOnlyWhenComplete) {
  ScratchFolder folder;
  const std::string name = folder.write("out.vtr", "old");
  OutputFile file;
  ASSERT_FALSE(createOutputFile(name.c_str(), file));
  EXPECT_TRUE(writeOutput(file, "new", 3));
  EXPECT_EQ(folder.names().size(), 2u);  // the old file and the hidden new one
  EXPECT_FALSE(commitOutputFile(file));
  EXPECT_EQ(folder.names(), std::vector<std::string>{"out.vtr"});
  std::ifstream in(name);
  std::string content;
  in >> content;
  EXPECT_EQ(content, "new");
}

TEST(OutputFileTest, AnUnfinishedOutputIsRemovedAndARefusedOneNamed) {
#if defined(_WIN32)
  GTEST_SKIP() << "the messages hold the system's own words for errors";
#endif
  ScratchFolder folder;
  {
    OutputFile file;
    ASSERT_FALSE(createOutputFile(folder.file("out.png").c_str(), file));
    writeOutput(file, "partial", 7);
  }
  EXPECT_TRUE(folder.names().empty());
  OutputFile file;
  CompanionFailure failure = createOutputFile(folder.path.c_str(), file);
  EXPECT_EQ(failure.status, kFailureStatus);
  EXPECT_EQ(failure.text, folder.path + ": is a folder");
  const std::string missing = folder.file("no/such.vtr");
  failure = createOutputFile(missing.c_str(), file);
  EXPECT_EQ(failure.status, kFailureStatus);
  EXPECT_EQ(failure.text, missing + ": cannot create the file: No such file or directory");
}

TEST(DeviceRefusalTest, ReadsStandardInputAndNoOtherDevice) {
  EXPECT_FALSE(deviceRefusal("model.txt", true));
  EXPECT_FALSE(deviceRefusal("conin$", true));
  EXPECT_EQ(deviceRefusal("conin$", false).text,
            "conin$: names the device CONIN$ (standard input), not a file");
  const CompanionFailure refused = deviceRefusal("nul.mod", true);
  EXPECT_EQ(refused.status, kFailureStatus);
  EXPECT_EQ(refused.text, "nul.mod: names the device NUL (the null device), not a file");
  EXPECT_EQ(refused.file, "nul.mod");
}

TEST(ViewFailureDeathTest, EndsWithOneLineAndTheStatus) {
  EXPECT_EXIT(endProgram(kViewProgram, failureOf(kUsageStatus, "bad thing")),
              testing::ExitedWithCode(kUsageStatus), "^boxpaint-view: bad thing\n$");
}

}  // namespace
