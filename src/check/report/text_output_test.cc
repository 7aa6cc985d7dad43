#include "check/report/text_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "check/reading/check_testing.h"
#include "check/reading/mesh_summary.h"
#include "check/report/table_cells.h"
#include "check/warnings/check_warnings.h"
#include "runtime/platform/file_transfers.h"
#include "runtime/platform/system_calls_testing.h"

namespace {

ThreadHandle refuseThread(void (*)(void*), void*) {
  return 0;
}

// The report as written to a file, with the second threads it starts or, where they are
// refused, with everything made in turn on one thread.
std::string textReport(const Mesh& mesh, const MeshSummary& summary, const BlockFileReport& report,
                       bool threads, const std::vector<std::string>& fileWarnings = {}) {
  ScopedSystemCalls scoped;
  if (!threads) systemCalls().startThread = refuseThread;
  // A name of its own: other test programs, run at the same time, write reports too.
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("boxpaint_text_report_test_" + std::to_string(std::random_device()()) + ".txt");
  SystemError error = 0;
  const FileHandle file = openFileRetrying(path.string().c_str(), OpenIntent::Write, &error);
  ReportSink sink;
  sink.file = file;
  TableCells cells;
  startTableCells(cells, report);
  EXPECT_TRUE(writeTextReport(sink, "mesh", "blocks", mesh, summary, report, fileWarnings, cells));
  closeFileOnce(file, &error);
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  in.close();
  std::filesystem::remove(path);
  return text.str();
}

// Rows made on two threads, warnings made while the cells are, texts kept and made again:
// the report is the one a single thread writes, for blocks in and around the mesh.
TEST(TextReportTest, ThreadsWriteTheReportOneThreadWrites) {
  std::vector<double> east, north, down;
  for (int k = 0; k <= 40; ++k) east.push_back(10.0 * k);
  for (int k = 0; k <= 30; ++k) north.push_back(7.5 * k);
  for (int k = 0; k <= 20; ++k) down.push_back(-5.0 * k);
  const TestMesh test(east, north, down);
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> place(-50, 450), size(0, 60), value(0, 1000);
  std::vector<BlockRecord> blocks;
  for (int b = 0; b < 5000; ++b) {
    const double e = place(rng), n = place(rng) / 2, z = -place(rng) / 4;
    blocks.push_back({e, e + size(rng), n, n + size(rng), z, z - size(rng), value(rng)});
  }
  const BlockFileReport report = reportOf(test.mesh, blocks);
  const MeshSummary summary = summariseMesh(test.mesh);
  const std::string alone = textReport(test.mesh, summary, report, false);
  EXPECT_GT(alone.size(), 500000u);
  EXPECT_EQ(textReport(test.mesh, summary, report, true), alone);
}

// Each warning on lines of at most 100 characters (a longer word alone on its own), the
// lines after the first under its text; one line a mistake; each count beside what it
// counts.
TEST(TextReportTest, WarningsFitTheirLinesAndAreCountedByWhatTheyAreOn) {
  const TestMesh test({0, 10, 20}, {0, 10}, {0, -10});
  const std::vector<BlockRecord> blocks = {
      {-1000.123456, 5000.987654, -2000.5, 3000.25, 800.125, -900.5, 1},
      {2, 4, 0, 10, 0, -10, 2},
      {0, 20, 0, 10, 0, -10, 3},
  };
  const BlockFileReport report = reportOf(test.mesh, blocks);
  const MeshSummary summary = summariseMesh(test.mesh);
  const std::string longWord(120, 'x');
  const std::string text =
      textReport(test.mesh, summary, report, false, {"the model file is an input: " + longWord});
  std::vector<std::string> found;  // each warning's lines joined again
  std::istringstream lines(text);
  std::string line;
  size_t margin = 0;  // where the text of the warning being read begins; 0: none
  while (std::getline(lines, line)) {
    const size_t start = std::min(line.find_first_not_of(' '), line.size());
    if (line.compare(start, 9, "warning: ") == 0) {
      found.push_back(line.substr(start + 9));
      margin = start + 9;
    } else if (margin > 0 && start == margin) {
      found.back().append(" ").append(line.substr(start));
    } else {
      margin = 0;
      continue;  // the table's rows are as wide as their numbers
    }
    const bool unbroken = line.find(' ', margin) == std::string::npos;
    EXPECT_TRUE(line.size() <= 100 || unbroken) << line;
  }
  std::vector<std::string> expected = {"the model file is an input: " + longWord};
  for (size_t b = 0; b < blocks.size(); ++b) {
    for (const std::string& warning :
         groupedWarnings(findBlockWarnings(test.mesh, summary, report, b))) {
      expected.push_back(warning);
    }
  }
  EXPECT_EQ(found, expected);
  EXPECT_GT(expected[1].size(), 200u);
  const std::string count =
      "Warnings: 1 on the files; " + std::to_string(expected.size() - 1) + " on 2 of 3 blocks\n";
  EXPECT_EQ(text.substr(text.size() - count.size()), count);
}

}  // namespace
