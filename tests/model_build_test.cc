// Whole runs that build a model: record order, which cells the blocks paint, the ways the
// input files may be spelled, cell counts that give no records, values that render
// specially, and input failures, which must leave the model file as they found it.
#include <gtest/gtest.h>

#include "support/run_boxpaint.h"
#include "support/worked_example.h"

namespace {

// The records of a model of small whole values, one digit per cell in record order:
// "07" is the text of 0 followed by the text of 7.
std::string digitRecords(const std::string& cells) {
  std::string text;
  for (char digit : cells) text += std::string(" ") + digit + ".000E+00\r\n";
  return text;
}

// `record` repeated `count` times, each followed by CR LF.
std::string repeatedRecords(const std::string& record, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += record + "\r\n";
  return text;
}

// The worked example's model: the block paints cells i 1..2, j 2..3, k 1.
const std::string kWorkedModel = digitRecords("007777000000");

struct ModelRun {
  RunResult run;
  std::string model;
};

// Writes the two input files to a fresh directory, runs boxpaint there and reads the model.
ModelRun runModel(const std::string& mesh, const std::string& blocks) {
  TempDir dir;
  dir.write("mesh.txt", mesh);
  dir.write("blocks.inp", blocks);
  ModelRun result;
  result.run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = dir.path()});
  result.model = readFile(dir.file("model.txt"));
  return result;
}

void expectCleanRun(const RunResult& run) {
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
}

TEST(RecordOrderTest, ElevationFastestThenEastingThenNorthing) {
  // ne = 2, nn = 2, nz = 3; one block per cell gives cell (i, j, k) the value
  // 100i + 10j + k, whose text " i.jk0E+02" names the cell.
  std::string blocks = "0\n12\n";
  for (int k = 1; k <= 2; ++k) {
    for (int j = 1; j <= 2; ++j) {
      for (int i = 1; i <= 3; ++i) {
        blocks += std::to_string(10 * (j - 1)) + " " + std::to_string(10 * j) + " " +
                  std::to_string(10 * (k - 1)) + " " + std::to_string(10 * k) + " " +
                  std::to_string(30 - 10 * (i - 1)) + " " + std::to_string(30 - 10 * i) + " " +
                  std::to_string(100 * i + 10 * j + k) + "\n";
      }
    }
  }
  ModelRun result = runModel("2 2 3\n0 0 30\n10 10\n10 10\n10 10 10\n", blocks);
  expectCleanRun(result.run);
  std::string expected;
  const int nz = 3, ne = 2;
  for (int r = 0; r < 12; ++r) {
    // r = (i-1) + nz(j-1) + nz*ne(k-1)
    const int i = r % nz + 1, j = r / nz % ne + 1, k = r / (nz * ne) + 1;
    // Appended piece by piece: " " + text makes GCC 12 at -O3 warn falsely.
    expected += ' ';
    expected += std::to_string(i);
    expected += '.';
    expected += std::to_string(j);
    expected += std::to_string(k);
    expected += "0E+02\r\n";
  }
  EXPECT_EQ(result.model, expected);
}

struct PaintCase {
  const char* name;
  const char* blocks;
  const char* cells;  // one digit per record
  const char* mesh = kMesh;
};

void PrintTo(const PaintCase& c, std::ostream* out) {
  *out << c.name;
}

class PaintTest : public testing::TestWithParam<PaintCase> {};

TEST_P(PaintTest, PaintsTheCellsBetweenTheSnappedNodes) {
  ModelRun result = runModel(GetParam().mesh, GetParam().blocks);
  expectCleanRun(result.run);
  EXPECT_EQ(result.model, digitRecords(GetParam().cells));
}

// Record order on the default mesh: k=1 (j1: i1 i2, j2: i1 i2, j3: i1 i2), then k=2.
INSTANTIATE_TEST_SUITE_P(
    Blocks, PaintTest,
    testing::Values(
        PaintCase{"reversedEastingAndNorthing", "0\n1\n30 10 10 0 100 80 7\n", "007777000000"},
        PaintCase{"pastEveryEdge", "0\n1\n-1e6 1e6 -5 500 1e4 -1e4 5\n", "555555555555"},
        PaintCase{"beyondFarEasting", "0\n1\n40 50 0 20 100 80 5\n", "000000000000"},
        PaintCase{"beyondLowNorthing", "0\n1\n0 30 -50 -20 100 80 5\n", "000000000000"},
        PaintCase{"aboveTheTop", "0\n1\n0 30 0 20 300 200 5\n", "000000000000"},
        PaintCase{"cutAtFarEdgeFromMidpoint", "0\n1\n15 1000 0 20 100 80 5\n", "005555005555"},
        PaintCase{"insideOneCellSnapsToItsNodes", "0\n1\n2 8 0 20 100 80 5\n", "550000550000"},
        PaintCase{"thinnerThanACell", "0\n1\n12 14 0 20 100 80 5\n", "000000000000"},
        PaintCase{"equalBounds", "0\n1\n10 10 0 20 100 80 5\n", "000000000000"},
        PaintCase{"elevationMidpointsSnapUpward", "0\n1\n0 30 0 20 95 85 5\n", "505050505050"},
        PaintCase{"overlapLaterWins", "0\n2\n0 30 0 20 100 80 1\n10 20 10 20 90 80 2\n",
                  "111111111211"},
        PaintCase{"nanLowerBoundStartsAtEdge", "0\n1\nnan 10 0 20 100 80 5\n", "550000550000"},
        PaintCase{"nanUpperBound", "0\n1\n0 NaN 0 20 100 80 5\n", "000000000000"},
        PaintCase{"infiniteBothWays", "0\n1\ninf -Infinity 0 20 100 80 5\n", "000000000000"},
        PaintCase{"minusInfinityLower", "0\n1\n-Infinity 20 0 20 100 80 5\n", "555500555500"},
        PaintCase{"hugeUpperBound", "0\n1\n0 1e308 0 20 100 80 5\n", "000000000000"},
        PaintCase{"hugeLowerBound", "0\n1\n-1e308 10 0 20 100 80 5\n", "550000550000"},
        PaintCase{"hugeTopBound", "0\n1\n0 30 0 20 1e308 90 5\n", "505050505050"},
        PaintCase{"hugeBothElevations", "0\n1\n0 30 0 20 -1e308 1e308 5\n", "000000000000"},
        // 9e49 minus any node rounds to 9e49: every node ties and the first one wins.
        PaintCase{"farBoundTiesToFirstNode", "0\n1\n0 9e49 0 20 100 80 5\n", "000000000000"},
        // A null keeps the previous block's ordered bound: n1 is 0 here, not 20.
        PaintCase{"nullKeepsOrderedBound", "0\n2\n10 30 20 0 100 80 1\n0 10,,10 100 80 2\n",
                  "221111001111"},
        PaintCase{"fallingEasting", "0\n1\n-30 0 0 20 100 80 5\n", "000000000000",
                  "3 2 2\n0 0 100\n-10 -10 -10\n10 10\n10 10\n"},
        PaintCase{"risingElevation", "0\n1\n0 30 0 20 100 120 5\n", "000000000000",
                  "3 2 2\n0 0 100\n10 10 10\n10 10\n-10 -10\n"},
        // The first width sums to a subnormal, flushed to zero: nodes 0, 0, 10, 20.
        PaintCase{"subnormalWidth", "0\n1\n0 10 0 20 100 80 5\n", "555500555500",
                  "3 2 2\n0 0 100\n5e-324 10 10\n10 10\n10 10\n"},
        PaintCase{"nanWidth", "0\n1\n0 30 0 20 100 80 5\n", "550000550000",
                  "3 2 2\n0 0 100\n10 nan 10\n10 10\n10 10\n"}),
    [](const testing::TestParamInfo<PaintCase>& info) { return info.param.name; });

TEST(PaintTest, NullFieldsKeepThePreviousBlock) {
  // Easting nodes 0..400, northing 400..700, elevation 90, 60, 30, 0. The second block
  // takes the first block's northing and elevation bounds.
  ModelRun result = runModel("4 3 3\n0 400 90\n4*100\n3*100\n3*30\n",
                             "0\n2\n100. 800.  500. 600.   60.  90.  .05\n200. 300. 4* .1\n");
  expectCleanRun(result.run);
  const std::string zero = " 0.000E+00", first = " 5.000E-02", second = " 1.000E-01";
  std::string expected = repeatedRecords(zero, 12);
  for (const std::string& top : {zero, first, second, first}) {
    expected += top + "\r\n" + repeatedRecords(zero, 2);
  }
  expected += repeatedRecords(zero, 12);
  EXPECT_EQ(result.model, expected);
}

struct SpellingCase {
  const char* name;
  const char* mesh;
  const char* blocks;
};

void PrintTo(const SpellingCase& c, std::ostream* out) {
  *out << c.name;
}

class InputSpellingTest : public testing::TestWithParam<SpellingCase> {};

TEST_P(InputSpellingTest, GivesTheWorkedExampleModel) {
  ModelRun result = runModel(GetParam().mesh, GetParam().blocks);
  expectCleanRun(result.run);
  EXPECT_EQ(result.model, kWorkedModel);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, InputSpellingTest,
    testing::Values(
        SpellingCase{"crLf", "3 2 2\r\n0 0 100\r\n10 10 10\r\n10 10\r\n10 10\r\n",
                     "0\r\n1\r\n10 30 0 10 80 100 7\r\n"},
        SpellingCase{"crCrLf", "3 2 2\r\r\n0 0 100\r\r\n10 10 10\r\r\n10 10\r\r\n10 10\r\r\n",
                     "0\r\r\n1\r\r\n10 30 0 10 80 100 7\r\r\n"},
        SpellingCase{"remarksAndExtraValues",
                     "3 2 2 9 ! cells\n0 0 100 5 ! origin\n10 10 10 ! e\n10 10 10 ; n\n"
                     "10 10 ) z\n",
                     "0 ! background\n1 2 ! blocks\n10 30 0 10 80 100 7 8 ! (block 1)\n"},
        SpellingCase{"repeatCountsInWidths", "3 2 2\n0 0 100\n3*10\n2*10\n2*10.\n", kBlocks},
        SpellingCase{"spreadOverLines", "\n3\n2,\n\n2\n0,0,100\n10,10,\n10\n\n10\n10\n10 10\n",
                     "\n0\n\n1\n10 30\n0 10\n80\n100\n7\n"},
        SpellingCase{"tabsAndCommas", "3\t2\t2\n0,0,100\n10,10,10\n10\t10\n10, 10\n",
                     "0\n1\n10,30,0,10,80,100,7\n"},
        SpellingCase{"noFinalLineFeed", "3 2 2\n0 0 100\n10 10 10\n10 10\n10 10",
                     "0\n1\n10 30 0 10 80 100 7"},
        SpellingCase{"linesAfterTheLastBlockUnread", kMesh,
                     "0\n1\n10 30 0 10 80 100 7\nnot ; read (\n"},
        SpellingCase{"otherNumberForms", "3. 2.9 2e0\n0 0 1e2\n1d1 10 1Q1\n10 10\n10 10\n",
                     "0.\n1.9\n1d1 3e1 -0 1.0e+1 8+1 1Q2 7\n"}),
    [](const testing::TestParamInfo<SpellingCase>& info) { return info.param.name; });

struct BackgroundCase {
  const char* name;
  const char* blocks;
  const char* record;  // every one of the 12 records
};

void PrintTo(const BackgroundCase& c, std::ostream* out) {
  *out << c.name;
}

class NoBlocksTest : public testing::TestWithParam<BackgroundCase> {};

TEST_P(NoBlocksTest, EveryCellHoldsTheBackground) {
  ModelRun result = runModel(kMesh, GetParam().blocks);
  expectCleanRun(result.run);
  EXPECT_EQ(result.model, repeatedRecords(GetParam().record, 12));
}

INSTANTIATE_TEST_SUITE_P(
    Counts, NoBlocksTest,
    testing::Values(
        BackgroundCase{"zero", "2.5\n0\n", " 2.500E+00"},
        BackgroundCase{"negativeFileEndsAtCount", "-1\n-5", "-1.000E+00"},
        BackgroundCase{"restOfFileUnread", "7\n0\n; this ) is never read\n", " 7.000E+00"},
        BackgroundCase{"realCountBelowOne", "3\n0.9\n10 30 0 10 80 100 7\n", " 3.000E+00"},
        BackgroundCase{"nanBackground", "nan\n0\n", "       NaN"}),
    [](const testing::TestParamInfo<BackgroundCase>& info) { return info.param.name; });

TEST(ModelValueTest, SpecialValuesKeepTheirTexts) {
  // One cell per elevation index, each painted with its own value.
  const char* values[] = {
      "nan", "Infinity", "-inf", "1e100", "4.9e-324", "-0", "-1.7976931348623157e308"};
  std::string blocks = "0\n7\n";
  for (int i = 1; i <= 7; ++i) {
    blocks += "0 1 0 1 " + std::to_string(8 - i) + " " + std::to_string(7 - i) + " " +
              values[i - 1] + "\n";
  }
  ModelRun result = runModel("1 1 7\n0 0 7\n1\n1\n7*1\n", blocks);
  expectCleanRun(result.run);
  EXPECT_EQ(result.model, crlfRecords({"       NaN", "  Infinity", " -Infinity", " 1.000+100",
                                       " 4.941-324", " 0.000E+00", "-1.798+308"}));
}

TEST(CellCountTest, CountsWrittenAsRealsAreTruncated) {
  ModelRun tenCells = runModel("10.7 1 1\n0 0 1\n10*1\n1\n1\n", "4\n0\n");
  expectCleanRun(tenCells.run);
  EXPECT_EQ(tenCells.model, repeatedRecords(" 4.000E+00", 10));

  ModelRun sixCells = runModel("2.9 1.5 3.99\n0 0 3\n2*1\n1\n3*1\n", "4\n0\n");
  expectCleanRun(sixCells.run);
  EXPECT_EQ(sixCells.model, repeatedRecords(" 4.000E+00", 6));
}

struct EmptyAxisCase {
  const char* name;
  const char* mesh;
};

void PrintTo(const EmptyAxisCase& c, std::ostream* out) {
  *out << c.name;
}

class EmptyAxisTest : public testing::TestWithParam<EmptyAxisCase> {};

TEST_P(EmptyAxisTest, WritesNoRecord) {
  TempDir dir;
  dir.write("mesh.txt", GetParam().mesh);
  dir.write("blocks.inp", kBlocks);
  const std::string old = "old model\r\n";
  dir.write("kept.txt", old);
  RunResult kept =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "kept.txt"}, .directory = dir.path()});
  RunResult created =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "new.txt"}, .directory = dir.path()});
  expectCleanRun(kept);
  expectCleanRun(created);
  EXPECT_EQ(readFile(dir.file("kept.txt")), old);
  EXPECT_TRUE(fileExists(dir.file("new.txt")));
  EXPECT_EQ(readFile(dir.file("new.txt")), "");
}

// A count of zero or less still takes one line for its widths, whatever that line holds.
INSTANTIATE_TEST_SUITE_P(
    Counts, EmptyAxisTest,
    testing::Values(EmptyAxisCase{"zeroEasting", "0 2 2\n0 0 100\n\n10 10\n10 10\n"},
                    EmptyAxisCase{"zeroElevation", "3 2 0\n0 0 100\n10 10 10\n10 10\nx ; )\n"},
                    EmptyAxisCase{"negativeEasting", "-2 2 2\n5 0 100\nx ; )\n10 10\n10 10\n"},
                    EmptyAxisCase{"negativeNorthing", "3 -1 2\n0 5 100\n10 10 10\n\n10 10\n"},
                    EmptyAxisCase{"negativeRealElevation", "3 2 -2.9\n0 0 100\n3*10\n2*10\n\n"},
                    EmptyAxisCase{"lowestInteger", "-2147483648 2 2\n0 0 100\n\n10 10\n10 10\n"},
                    EmptyAxisCase{"realBeyondIntegerRange", "1e10 2 2\n0 0 100\n\n10 10\n10 10\n"},
                    EmptyAxisCase{"allZero", "0 0 0\n0 0 0\n\n\n\n"}),
    [](const testing::TestParamInfo<EmptyAxisCase>& info) { return info.param.name; });

struct FailureCase {
  const char* name;
  const char* mesh;
  const char* blocks;
  int number;
  const char* file;  // the input file the message names; null for messages without a file
  long long addressSpaceLimit = -1;
};

void PrintTo(const FailureCase& c, std::ostream* out) {
  *out << c.name;
}

std::string messageText(int number) {
  switch (number) {
    case 24:
      return "end-of-file during read";
    case 59:
      return "list-directed I/O syntax error";
    case 64:
      return "input conversion error";
    case 179:
      return "Cannot allocate array - overflow on array size calculation.";
    case 41:
      return "insufficient virtual memory";
  }
  return "?";
}

class InputFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(InputFailureTest, EndsWithDiagnosticAndLeavesTheModelFileAlone) {
  const FailureCase& c = GetParam();
#if defined(__SANITIZE_ADDRESS__)
  // The address sanitizer reserves more address space than any limit here allows.
  if (c.addressSpaceLimit >= 0) GTEST_SKIP();
#endif
  TempDir dir;
  dir.write("mesh.txt", c.mesh);
  dir.write("blocks.inp", c.blocks);
  const std::string old = std::string("old\r\nmodel\0\xff", 12);
  dir.write("kept.txt", old);
  for (const char* model : {"kept.txt", "new.txt"}) {
    RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", model},
                                 .directory = dir.path(),
                                 .addressSpaceLimit = c.addressSpaceLimit});
    EXPECT_EQ(run.status, c.number) << model;
    EXPECT_EQ(run.out, "");
    std::string line =
        "forrtl: severe (" + std::to_string(c.number) + "): " + messageText(c.number);
    if (c.file != nullptr) line += ", unit 1, file " + dir.file(c.file);
    EXPECT_EQ(firstLine(run.err), line);
  }
  EXPECT_EQ(readFile(dir.file("kept.txt")), old);
  EXPECT_FALSE(fileExists(dir.file("new.txt")));
}

const char kMeshFile[] = "mesh.txt";
const char kBlockFile[] = "blocks.inp";

INSTANTIATE_TEST_SUITE_P(
    Mesh, InputFailureTest,
    testing::Values(
        FailureCase{"empty", "", kBlocks, 24, kMeshFile},
        FailureCase{"countsOnly", "3 2 2\n", kBlocks, 24, kMeshFile},
        FailureCase{"tooFewCounts", "3 2\n", kBlocks, 24, kMeshFile},
        FailureCase{"endOfFileByte", "3 2 2\n0 0 100\n\x1a\n10 10\n10 10\n", kBlocks, 24,
                    kMeshFile},
        FailureCase{"letterInCount", "3 2 x\n0 0 100\n3*10\n2*10\n2*10\n", kBlocks, 59, kMeshFile},
        FailureCase{"secondPeriod", "3 2 2.5.1\n0 0 100\n3*10\n2*10\n2*10\n", kBlocks, 59,
                    kMeshFile},
        FailureCase{"twoSignsInWidth", "3 2 2\n0 0 100\n10 --10 10\n2*10\n2*10\n", kBlocks, 59,
                    kMeshFile},
        FailureCase{"remarkBeforeLastWidth", "3 2 2\n0 0 100\n10 10 ! one short\n", kBlocks, 59,
                    kMeshFile},
        FailureCase{"logicalCount", "3 2 T\n0 0 100\n3*10\n2*10\n2*10\n", kBlocks, 64, kMeshFile},
        FailureCase{"countOutOfRange", "3 2147483648 2\n", kBlocks, 64, kMeshFile},
        FailureCase{"infiniteCount", "3 INF 2\n", kBlocks, 64, kMeshFile},
        FailureCase{"quotedOrigin", "3 2 2\n'0' 0 100\n3*10\n2*10\n2*10\n", kBlocks, 64, kMeshFile},
        FailureCase{"widthOverflows", "3 2 2\n0 0 100\n10 1e309 10\n2*10\n2*10\n", kBlocks, 64,
                    kMeshFile},
        FailureCase{"nanWithText", "3 2 2\n0 0 100\n10 NANX 10\n2*10\n2*10\n", kBlocks, 64,
                    kMeshFile},
        // The origin of an axis without cells is still read.
        FailureCase{"negativeCountOriginRead", "-2 2 2\n; 0 100\n\n2*10\n2*10\n", kBlocks, 59,
                    kMeshFile},
        // Node arrays are sized before anything else is read.
        FailureCase{"northingNodesOverflow", "1 536870911 1\n", kBlocks, 179, nullptr},
        FailureCase{"eastingNodesOverflow", "536870911 1 1\n", kBlocks, 179, nullptr},
        FailureCase{"largestCount", "1 1 2147483647\n", kBlocks, 179, nullptr},
        FailureCase{"nodesRefused", "1 300000000 1\n", kBlocks, 41, nullptr, 256 << 20}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Blocks, InputFailureTest,
    testing::Values(
        FailureCase{"empty", kMesh, "", 24, kBlockFile},
        FailureCase{"backgroundOnly", kMesh, "0\n", 24, kBlockFile},
        FailureCase{"noBlockLine", kMesh, "0\n1\n", 24, kBlockFile},
        FailureCase{"sixValues", kMesh, "0\n1\n10 30 0 10 80 100\n", 24, kBlockFile},
        FailureCase{"secondBlockMissing", kMesh, "0\n2\n10 30 0 10 80 100 7\n", 24, kBlockFile},
        FailureCase{"endOfFileByte", kMesh, "0\n1\n\x1a\n10 30 0 10 80 100 7\n", 24, kBlockFile},
        FailureCase{"zeroCellsStillReadBlocks", "0 2 2\n0 0 100\n\n10 10\n10 10\n", "0\n1\n", 24,
                    kBlockFile},
        FailureCase{"remarkBeforeValue", kMesh, "0\n1\n10 30 0 10 80 100 ! no value\n", 59,
                    kBlockFile},
        FailureCase{"parenthesis", kMesh, "0\n1\n(10 30) 0 10 80 100 7\n", 59, kBlockFile},
        FailureCase{"strayParenthesis", kMesh, "0\n1\n10 30 0 10 ) 100 7\n", 59, kBlockFile},
        FailureCase{"repeatWithoutCount", kMesh, "0\n1\n10 30 0 10 80 100 *7\n", 59, kBlockFile},
        FailureCase{"logicalCount", kMesh, "0\nT\n", 64, kBlockFile},
        FailureCase{"countOutOfRange", kMesh, "0\n3000000000\n", 64, kBlockFile},
        FailureCase{"logicalValue", kMesh, "0\n1\n10 30 0 10 80 100 .true.\n", 64, kBlockFile},
        FailureCase{"quotedBackground", kMesh, "\"0\"\n0\n", 64, kBlockFile},
        FailureCase{"realRepeatCount", kMesh, "0\n1\n10 30 0 10 80 100 1.5*7\n", 64, kBlockFile},
        FailureCase{"valueOverflows", kMesh, "0\n1\n10 30 0 10 80 100 -1e309\n", 64, kBlockFile},
        // The model is sized after the mesh is read; a later zero factor does not help.
        FailureCase{"modelOverflows", "2000 2000 2000\n0 0 0\n2000*1\n2000*1\n2000*1\n", kBlocks,
                    179, nullptr},
        FailureCase{"modelOverflowsBeforeZero", "100000 0 100000\n0 0 0\n100000*1\n\n100000*1\n",
                    kBlocks, 179, nullptr},
        // The model is never held whole, but the mesh's node arrays are.
        FailureCase{"nodesRefused", "399999999 1 1\n0 0 0\n", kBlocks, 41, nullptr, 256 << 20}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

TEST(InputFailureTest, ModelIsSizedBeforeTheBlockFileIsLookedFor) {
  TempDir dir;
  dir.write("mesh.txt", "2000 2000 2000\n0 0 0\n2000*1\n2000*1\n2000*1\n");
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "missing.inp", "model.txt"}, .directory = dir.path()});
  EXPECT_EQ(run.status, 179);
  EXPECT_EQ(run.out, "");
  EXPECT_FALSE(fileExists(dir.file("model.txt")));
}

}  // namespace
