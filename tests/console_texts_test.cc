// The usage text, the sample block file and the not-found message, byte for byte.
#include <gtest/gtest.h>

#include "support/run_boxpaint.h"

namespace {

const std::string kUsage = crlfRecords({
    " Usage: boxpaint  mesh boxpaint.inp outmodel",
    " For a sample input file type : boxpaint -inp",
});

const std::string kSample = crlfRecords({
    "",
    " Sample boxpaint input file:",
    "",
    " 0.0               ! background",
    " 2                 ! number of blocks",
    " 100. 800.  500. 600.   60.  90.  .05   ! e1 e2 n1 n2 z1 z2  value (block 1)",
    " 500. 600.  100. 800.  100. 140.  .08   ! e1 e2 n1 n2 z1 z2  value (block 2)",
    "",
});

struct TextCase {
  const char* name;
  std::vector<std::string> args;
  const std::string* expected;
};

void PrintTo(const TextCase& c, std::ostream* out) {
  *out << c.name;
}

class ConsoleTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(ConsoleTextTest, PrintsExactTextWithStatusZero) {
  RunResult run = runBoxpaint({.args = GetParam().args});
  EXPECT_EQ(run.out, *GetParam().expected);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ConsoleTextTest,
    testing::Values(TextCase{"none", {}, &kUsage}, TextCase{"two", {"a", "b"}, &kUsage},
                    TextCase{"four", {"a", "b", "c", "d"}, &kUsage},
                    TextCase{"inp", {"-inp"}, &kSample}, TextCase{"input", {"-input"}, &kSample},
                    TextCase{"inpx", {"-inpx"}, &kSample}, TextCase{"upperCase", {"-INP"}, &kUsage},
                    TextCase{"short", {"-in"}, &kUsage}, TextCase{"noDash", {"inp"}, &kUsage},
                    TextCase{"empty", {""}, &kUsage},
                    TextCase{"twoWithInp", {"-inp", "x"}, &kUsage}),
    [](const testing::TestParamInfo<TextCase>& info) { return info.param.name; });

TEST(ConsoleTextTest, TextSizesAreExact) {
  EXPECT_EQ(kUsage.size(), 93u);
  EXPECT_EQ(kSample.size(), 264u);
}

struct MissingCase {
  const char* name;
  std::string mesh;       // argument 1
  std::string shownName;  // as the message shows it
};

void PrintTo(const MissingCase& c, std::ostream* out) {
  *out << c.name;
}

class NotFoundTest : public testing::TestWithParam<MissingCase> {};

TEST_P(NotFoundTest, MissingMeshFileGivesOneRecordAndCreatesNoModel) {
  TempDir dir;
  RunResult run =
      runBoxpaint({.args = {GetParam().mesh, "blocks.inp", "model.txt"}, .directory = dir.path()});
  EXPECT_EQ(run.out, " File " + GetParam().shownName + " not found.\r\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(run.status, 0);
  EXPECT_FALSE(fileExists(dir.file("model.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Names, NotFoundTest,
    testing::Values(MissingCase{"plain", "mesh.txt", "mesh.txt"},
                    MissingCase{"inpAsMesh", "-inp", "-inp"},
                    MissingCase{"trailingBlanks", "mesh.txt   ", "mesh.txt"},
                    MissingCase{"leadingAndInnerBlanks", "  my mesh.txt ", "  my mesh.txt"},
                    MissingCase{"quotes", "a\"b\"\"c", "a\"b\"\"c"}, MissingCase{"empty", "", ""},
                    MissingCase{"longNameCutTo200", std::string(250, 'm'), std::string(200, 'm')},
                    MissingCase{"directory", ".", "."},
                    MissingCase{"trailingSlash", "mesh.txt/", "mesh.txt/"}),
    [](const testing::TestParamInfo<MissingCase>& info) { return info.param.name; });

TEST(NotFoundTest, MissingBlockFileNamedAfterTheMeshIsRead) {
  TempDir dir;
  dir.write("mesh.txt", "1 1 1\n0 0 0\n1\n1\n1\n");
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "nothere.inp", "model.txt"}, .directory = dir.path()});
  EXPECT_EQ(run.out, " File nothere.inp not found.\r\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_FALSE(fileExists(dir.file("model.txt")));
}

TEST(NotFoundTest, BothMissingNamesOnlyTheMeshFile) {
  TempDir dir;
  RunResult run = runBoxpaint({.args = {"m", "b", "o"}, .directory = dir.path()});
  EXPECT_EQ(run.out, " File m not found.\r\n");
}

TEST(NotFoundTest, BrokenMeshIsReportedBeforeMissingBlockFile) {
  TempDir dir;
  dir.write("mesh.txt", "1 1 1\n0 0 0\n");
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "nothere.inp", "model.txt"}, .directory = dir.path()});
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.status, 24);
}

}  // namespace
