// Failures that end the run with a numbered diagnostic, and what they leave behind.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/run_boxpaint.h"
#include "support/worked_example.h"

namespace {

const char kListingHeader[] =
    "Image              PC        Routine            Line        Source             ";

struct Inputs {
  TempDir dir;
  Inputs() {
    dir.write("mesh.txt", kMesh);
    dir.write("blocks.inp", kBlocks);
  }
};

TEST(ModelFileTest, WorkedExampleGivesTwelveRecords) {
  Inputs in;
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = in.dir.path()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(readFile(in.dir.file("model.txt")), kModel);
}

TEST(ModelFileTest, LongerExistingModelHoldsExactlyTheNewRecords) {
  Inputs in;
  std::string old;
  for (int i = 0; i < 1000; ++i) old += "old line " + std::to_string(i) + "\r\n";
  in.dir.write("model.txt", old);
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = in.dir.path()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(readFile(in.dir.file("model.txt")), kModel);
}

TEST(ModelFileTest, NoRecordKeepsExistingContentAndCreatesMissingFileEmpty) {
  Inputs in;
  in.dir.write("mesh.txt", "3 0 2\n0 0 100\n10 10 10\n\n10 10\n");
  in.dir.write("kept.txt", "old content\n");
  RunResult kept =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "kept.txt"}, .directory = in.dir.path()});
  RunResult created =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "new.txt"}, .directory = in.dir.path()});
  EXPECT_EQ(kept.status, 0);
  EXPECT_EQ(created.status, 0);
  EXPECT_EQ(readFile(in.dir.file("kept.txt")), "old content\n");
  EXPECT_TRUE(fileExists(in.dir.file("new.txt")));
  EXPECT_EQ(readFile(in.dir.file("new.txt")), "");
}

struct OpenFailure {
  const char* name;
  std::string model;      // model file argument, relative to the directory
  std::string shownPath;  // file named by the message, relative to the directory
  int number;
  const char* text;
};

void PrintTo(const OpenFailure& c, std::ostream* out) {
  *out << c.name;
}

class ModelOpenFailureTest : public testing::TestWithParam<OpenFailure> {};

TEST_P(ModelOpenFailureTest, EndsWithDiagnosticForUnitTwoAndFullPath) {
  Inputs in;
  RunResult run = runBoxpaint(
      {.args = {"mesh.txt", "blocks.inp", GetParam().model}, .directory = in.dir.path()});
  const OpenFailure& c = GetParam();
  EXPECT_EQ(run.status, c.number);
  EXPECT_EQ(run.out, "");
  std::string expected = "forrtl: severe (" + std::to_string(c.number) + "): " + c.text +
                         ", unit 2, file " + in.dir.path() + c.shownPath;
  EXPECT_EQ(firstLine(run.err), expected);
  EXPECT_NE(run.err.find(kListingHeader), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ModelOpenFailureTest,
    testing::Values(
        OpenFailure{"missingFolder", "nodir/model.txt", "/nodir/model.txt", 29, "file not found"},
        OpenFailure{"directory", ".", "/", 9, "permission to access file denied"},
        OpenFailure{"trailingSlash", "out/", "/out/", 9, "permission to access file denied"},
        OpenFailure{"dotDotPath", "x/../nodir/./m.txt", "/nodir/m.txt", 29, "file not found"}),
    [](const testing::TestParamInfo<OpenFailure>& info) { return info.param.name; });

TEST(ModelOpenFailureTest, EmptyNameShowsNoPath) {
  Inputs in;
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "   "}, .directory = in.dir.path()});
  EXPECT_EQ(run.status, 29);
  EXPECT_EQ(firstLine(run.err), "forrtl: severe (29): file not found, unit 2, file ");
}

TEST(ModelOpenFailureTest, ModelFileAnotherRunIsWritingIsRefusedWith30AndLeftAlone) {
  Inputs in;
  std::string model = in.dir.write("model.txt", "another run's records\r\n");
  // The lock another run holds while it writes the model file.
  int holder = open(model.c_str(), O_RDWR);
  ASSERT_EQ(flock(holder, LOCK_EX), 0);
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = in.dir.path()});
  close(holder);
  EXPECT_EQ(run.status, 30);
  EXPECT_EQ(firstLine(run.err), "forrtl: severe (30): open failure, unit 2, file " + model);
  EXPECT_EQ(readFile(model), "another run's records\r\n");
}

TEST(WriteFailureTest, FailureHandingOverTheLastRecordsEndsWith38) {
  if (runsUnderWrapper()) {
    GTEST_SKIP() << "a wrapper writes files of its own, which so small a limit refuses";
  }
  // Console text sent to a file that cannot grow: the records reach it only when the run
  // ends, and that failure is the run's exit status, whatever path was ending.
  const std::vector<std::vector<std::string>> paths = {{"-inp"}, {}, {"none.txt", "b", "m"}};
  for (const std::vector<std::string>& args : paths) {
    TempDir dir;
    RunResult run = runBoxpaint({.args = args,
                                 .setEnv = {"FOR_PRINT=printed.txt"},
                                 .directory = dir.path(),
                                 .ignoreSigxfsz = true,
                                 .fileSizeLimit = 20});
    EXPECT_EQ(run.status, 38) << args.size() << " arguments";
    EXPECT_EQ(firstLine(run.err),
              "forrtl: severe (38): error during write, unit -1, file " + dir.file("printed.txt"));
  }
}

TEST(ModelFileTest, NonBlockingStandardOutputTakesTheWholeModel) {
  // A parent may leave its pipe non-blocking: a full pipe is a wait, not a write error.
  TempDir dir;
  dir.write("mesh.txt", "100 100 10\n0 0 100\n100*1\n100*1\n10*1\n");
  dir.write("blocks.inp", "1.5\n0\n");
  RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", "CON"},
                               .directory = dir.path(),
                               .nonblockingStdout = true,
                               .readStdoutAfterMs = 300});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(run.out == crlfRecords(std::vector<std::string>(100000, " 1.500E+00")));
}

TEST(WriteFailureTest, FullDeviceEndsWithMessage38) {
  Inputs in;
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "/dev/full"}, .directory = in.dir.path()});
  EXPECT_EQ(run.status, 38);
  EXPECT_EQ(firstLine(run.err), "forrtl: severe (38): error during write, unit 2, file /dev/full");
}

TEST(WriteFailureTest, ClosedStandardOutputEndsWithMessage38ForTheConsole) {
  RunResult run = runBoxpaint({.args = {}, .closeStdout = true});
  EXPECT_EQ(run.status, 38);
  EXPECT_EQ(firstLine(run.err), "forrtl: severe (38): error during write, unit -1, file stdout");
}

TEST(WriteFailureTest, ClosedStandardOutputNeverReceivesModelRecords) {
  Inputs in;
  RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"},
                               .directory = in.dir.path(),
                               .closeStdout = true});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(readFile(in.dir.file("model.txt")), kModel);
}

TEST(ReadFailureTest, TruncatedMeshEndsWith24AndLeavesModelUntouched) {
  Inputs in;
  in.dir.write("mesh.txt", "3 2 2\n0 0 100\n10 10 10\n10\n");
  in.dir.write("model.txt", "precious\n");
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = in.dir.path()});
  EXPECT_EQ(run.status, 24);
  EXPECT_EQ(firstLine(run.err), "forrtl: severe (24): end-of-file during read, unit 1, file " +
                                    in.dir.file("mesh.txt"));
  EXPECT_EQ(readFile(in.dir.file("model.txt")), "precious\n");
}

TEST(ReadFailureTest, SemicolonInBlockLineEndsWith59) {
  Inputs in;
  in.dir.write("blocks.inp", "0\n1\n10 30; 0 10 80 100 7\n");
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = in.dir.path()});
  EXPECT_EQ(run.status, 59);
  EXPECT_EQ(firstLine(run.err),
            "forrtl: severe (59): list-directed I/O syntax error, unit 1, "
            "file " +
                in.dir.file("blocks.inp"));
  EXPECT_FALSE(fileExists(in.dir.file("model.txt")));
}

}  // namespace
