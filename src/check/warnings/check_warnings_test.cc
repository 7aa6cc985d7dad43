#include "check/warnings/check_warnings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "check/reading/check_testing.h"
#include "check/reading/mesh_summary.h"
#include "check/warnings/mesh_warnings.h"
#include "runtime/platform/system_calls_testing.h"

namespace {

// Easting nodes 0 10 30 60, northing 0 5 20, elevation 100 90 70 (top down).
TestMesh smallMesh() {
  return TestMesh({0, 10, 30, 60}, {0, 5, 20}, {100, 90, 70});
}

TEST(BlockWarningsTest, EachRuleForTheBlockThatEarnsIt) {
  struct Case {
    const char* name;
    BlockRecord block;
    std::vector<std::string> warnings;
  };
  const Case cases[] = {
      {"paints every cell", {0, 60, 0, 20, 100, 70, 1}, {}},
      {"thinner than a cell",
       {12, 14, 0, 20, 100, 70, 1},
       {"paints nothing: easting 12 to 14 snaps to 10 to 10"}},
      {"beside the mesh",
       {60, 80, 0, 20, 100, 70, 1},
       {"paints nothing: easting 60 to 80 snaps to 60 to 60",
        "lies wholly outside the mesh: easting 60 to 80 lies beyond the mesh's 0 to 60",
        "moves more than half a cell: easting 80 snaps to 60 (moves 20, half the cell is 15)"}},
      {"reaching out of it",
       {-5, 75, 0, 20, 100, 60, 1},
       {"lies partly outside the mesh: easting -5 to 75 reaches beyond the mesh's 0 to 60; "
        "elevation 100 to 60 reaches beyond the mesh's 100 to 70"}},
      {"elevations inside the mesh", {0, 60, 0, 20, 95, 80, 1}, {}},
      {"above the top, not as depths either",
       {0, 60, 0, 20, 250, 130, 1},
       {"paints nothing: elevation 250 to 130 snaps to 100 to 100",
        "lies wholly outside the mesh: elevation 250 to 130 lies beyond the mesh's 100 to 70",
        "lies above the top of the mesh: elevation 250 to 130, top 100",
        "moves more than half a cell: elevation 250 snaps to 100 (moves 150, half the cell is "
        "5); elevation 130 snaps to 100 (moves 30, half the cell is 5)"}},
      {"a NaN bound: the range starts at the mesh's edge",
       {0, 60, NAN, 20, 100, 70, 1},
       {"moves more than half a cell: northing NaN snaps to no node"}},
  };
  TestMesh test = smallMesh();
  const MeshSummary summary = summariseMesh(test.mesh);
  for (const Case& c : cases) {
    const BlockFileReport report = reportOf(test.mesh, {c.block});
    EXPECT_EQ(blockWarnings(test.mesh, summary, report, 0), c.warnings) << c.name;
  }
}

TEST(BlockWarningsTest, DepthsLinesAndHiddenBlocks) {
  // A mesh from 30 at the top down to -90: as elevations 40 lies above the top; as depths
  // below it 10 and 40 lie at 20 and -10, inside.
  TestMesh test({0, 10}, {0, 10}, {30, 0, -30, -60, -90});
  const MeshSummary summary = summariseMesh(test.mesh);
  BlockFileReport report =
      reportOf(test.mesh, {{0, 10, 0, 10, 10, 40, 1}, {0, 10, 0, 10, 30, -90, 2}});
  report.lines[0] = {3, 4};
  const std::vector<std::string> first = blockWarnings(test.mesh, summary, report, 0);
  EXPECT_EQ(first.front(), "reads on past its line: its values run from line 3 to line 4");
  EXPECT_NE(std::find(first.begin(), first.end(),
                      "looks like depths typed as elevations: elevation 10 to 40 reaches above "
                      "the top of the mesh, 30; as depths below it, it would be elevation 20 "
                      "to -10"),
            first.end());
  EXPECT_EQ(first.back(), "hidden by later blocks: they paint over its only cell");
  EXPECT_TRUE(blockWarnings(test.mesh, summary, report, 1).empty());
}

// One mistake, one warning in the text report: what follows from it is named after it.
TEST(BlockWarningsTest, WarningsThatFollowFromAnotherAreGroupedUnderIt) {
  TestMesh test = smallMesh();
  const MeshSummary summary = summariseMesh(test.mesh);
  struct Case {
    const char* name;
    BlockRecord block;
    std::vector<std::string> grouped;
  };
  const Case cases[] = {
      {"beside the mesh",
       {60, 80, 0, 20, 100, 70, 1},
       {"lies wholly outside the mesh: easting 60 to 80 lies beyond the mesh's 0 to 60 (so it "
        "also paints nothing and moves more than half a cell)"}},
      {"above the top",
       {0, 60, 0, 20, 250, 130, 1},
       {"lies above the top of the mesh: elevation 250 to 130, top 100 (so it also paints "
        "nothing, lies wholly outside the mesh and moves more than half a cell)"}},
      // Thin along northing, beside the mesh along easting: two mistakes.
      {"two causes",
       {60, 80, 6, 7, 100, 70, 1},
       {"paints nothing: easting 60 to 80 snaps to 60 to 60; northing 6 to 7 snaps to 5 to 5",
        "lies wholly outside the mesh: easting 60 to 80 lies beyond the mesh's 0 to 60 (so it "
        "also moves more than half a cell)"}},
      {"below the bottom",
       {0, 60, 0, 20, 60, 50, 1},
       {"lies wholly outside the mesh: elevation 60 to 50 lies beyond the mesh's 100 to 70 (so it "
        "also paints nothing and moves more than half a cell)"}},
      // A bound beyond and one inside along easting, both elevations above the top: the
      // outside warning is not the elevation rules' alone.
      {"out along two axes",
       {-20, 30, 0, 20, 150, 120, 1},
       {"lies wholly outside the mesh: easting -20 to 30 reaches beyond the mesh's 0 to 60; "
        "elevation 150 to 120 lies beyond the mesh's 100 to 70 (so it also paints nothing and "
        "moves more than half a cell)",
        "lies above the top of the mesh: elevation 150 to 120, top 100"}},
  };
  for (const Case& c : cases) {
    const BlockFileReport report = reportOf(test.mesh, {c.block});
    const std::vector<BlockWarning> found = findBlockWarnings(test.mesh, summary, report, 0);
    EXPECT_EQ(groupedWarnings(found), c.grouped) << c.name;
  }
  // Depths typed as elevations: five rules, one warning.
  TestMesh deep({0, 10}, {0, 10}, {0, -30, -60, -90, -120, -150, -180});
  const BlockFileReport report = reportOf(deep.mesh, {{0, 10, 0, 10, 50, 150, 1}});
  const std::vector<BlockWarning> found =
      findBlockWarnings(deep.mesh, summariseMesh(deep.mesh), report, 0);
  EXPECT_EQ(found.size(), 5u);
  ASSERT_EQ(groupedWarnings(found).size(), 1u);
  EXPECT_EQ(groupedWarnings(found)[0].rfind("looks like depths typed as elevations: ", 0), 0u);
}

// 1000 cells 0.1 wide (thick) as boxpaint sums them: the far ends are 99.9999999999986
// and -99.9999999999986, while a person types 100 and -100.
TEST(BlockWarningsTest, TheEndsOfSummedWidthsAreWhereThePersonTypedThem) {
  std::vector<double> east{0}, down{0};
  for (int k = 0; k < 1000; ++k) {
    east.push_back(east.back() + 0.1);
    down.push_back(down.back() - 0.1);
  }
  ASSERT_NE(east.back(), 100);
  const TestMesh test(east, {0, 1}, down);
  const MeshSummary summary = summariseMesh(test.mesh);
  struct Case {
    BlockRecord block;
    std::vector<std::string> warnings;
  };
  const Case cases[] = {
      {{0, 100, 0, 1, 0, -100, 1}, {}},
      {{99.95, 100, 0, 1, 0, -100, 1},
       {"paints nothing: easting 99.95 to 100 snaps to 100 to 100"}},
      // Beyond by more than the sums' rounding: still a warning.
      {{0, 100.000001, 0, 1, -100.000001, 0, 1},
       {"lies partly outside the mesh: easting 0 to 100.000001 reaches beyond the mesh's 0 to "
        "100; elevation -100.000001 to 0 reaches beyond the mesh's 0 to -100"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(blockWarnings(test.mesh, summary, reportOf(test.mesh, {c.block}), 0), c.warnings);
  }
  // As depths, 100 below the top is the bottom of the mesh.
  const std::vector<std::string> depths =
      blockWarnings(test.mesh, summary, reportOf(test.mesh, {{0, 100, 0, 1, 50, 100, 1}}), 0);
  EXPECT_NE(std::find(depths.begin(), depths.end(),
                      "looks like depths typed as elevations: elevation 50 to 100 reaches above "
                      "the top of the mesh, 0; as depths below it, it would be elevation -50 to "
                      "-100"),
            depths.end());
}

TEST(MeshWarningsTest, NamesTheCellsAndTheLines) {
  struct Case {
    const char* name;
    TestMesh mesh;
    std::vector<std::string> warnings;
  };
  MeshLines lines;
  lines.counts = 1;
  lines.origin = 2;
  lines.widths[0] = 3;
  lines.widths[1] = 5;
  lines.widths[2] = 6;
  const Case cases[] = {
      {"sound", TestMesh({0, 10}, {0, 5}, {0, -1}), {}},
      {"zero and negative",
       TestMesh({0, 10, 10, 5, 5, 5, 5}, {0, 5}, {0, 1}),
       {"cells of zero or negative width: easting cell 2 is 0 wide, cell 3 is -5 wide, cell 4 "
        "is 0 wide and 2 more (line 3); elevation cell 1 is -1 thick (line 6)"}},
      {"lost in a large coordinate",
       TestMesh({6105000, 6105000 + 1e-10}, {0, 5}, {0, -1}),
       {"cells of zero or negative width: easting cell 1 is 0 wide (line 3)"}},
      {"northing over two lines",
       TestMesh({0, 1}, {0, -5}, {0, -1}),
       {"cells of zero or negative width: northing cell 1 is -5 wide (lines 4 to 5)"}},
  };
  for (const Case& c : cases) {
    const MeshSummary summary = summariseMesh(c.mesh.mesh);
    EXPECT_EQ(meshWarnings(c.mesh.mesh, summary, lines), c.warnings) << c.name;
  }
  TestMesh empty({}, {0, 5}, {0, -1});
  empty.mesh.easting.cellCount = -3;
  EXPECT_EQ(meshWarnings(empty.mesh, summariseMesh(empty.mesh), lines),
            std::vector<std::string>{"the mesh has no cells: its counts on line 1 are -3 x 1 x 1, "
                                     "and boxpaint writes an empty model"});
}

TEST(ModelNameWarningTest, FindsAnInputReachedAnyWay) {
  namespace fs = std::filesystem;
  const fs::path folderPath = fs::temp_directory_path() / "boxpaint-check-model-name";
  fs::remove_all(folderPath);
  fs::create_directories(folderPath);
  const std::string folder = folderPath.string();
  // Full names in the system's own spelling, as the warnings show them.
  const std::string mesh = (folderPath / "mesh.txt").string();
  const std::string blocks = (folderPath / "blocks.inp").string();
  std::ofstream(mesh) << "1 1 1\n";
  std::ofstream(blocks) << "0\n0\n";
  // Where the user may not make links (Windows without the privilege), none is tried.
  std::error_code linkRefused;
  fs::create_symlink(mesh, folder + "/link.txt", linkRefused);
  const auto warning = [&](const std::string& model) {
    return modelNameWarning(model.c_str(), static_cast<int>(model.size()), mesh, blocks);
  };
  EXPECT_EQ(warning(mesh), "the model file is an input: " + mesh +
                               " is the mesh file, which boxpaint would replace with the model");
  EXPECT_NE(warning(folder + "/./blocks.inp   ").find("is the block file"), std::string::npos);
  if (!linkRefused) {
    EXPECT_NE(warning(folder + "/link.txt").find("is the mesh file"), std::string::npos);
  }
  EXPECT_EQ(warning(folder + "/model.txt"), "");
  EXPECT_EQ(warning("CON"), "");  // a device, not a file
  // Device names in any case and with any extension; with a folder, a file.
  const auto device = [](const std::string& model) {
    return modelDeviceWarning(model.c_str(), static_cast<int>(model.size()));
  };
  EXPECT_EQ(device("con.mod  "),
            "the model file is a device: con.mod names standard output, so boxpaint writes the "
            "model there and makes no file");
  EXPECT_NE(device("Nul.txt").find("Nul.txt names the null device"), std::string::npos);
  EXPECT_EQ(device(mesh), "");
#if defined(_WIN32)
  // Names that Windows, not boxpaint, makes devices of, in any folder.
  EXPECT_NE(device("./con.mod").find("./con.mod names the device CON (a device of the system)"),
            std::string::npos);
  EXPECT_NE(device("con.txt.bak").find("con.txt.bak names the device CON (a device of the system)"),
            std::string::npos);
  EXPECT_NE(device("sub\\NUL").find("names the device NUL"), std::string::npos);
#else
  EXPECT_EQ(device("./con.mod"), "");
#endif
  {
    // Any system whose full path of a name is a device's: the warning follows it.
    ScopedSystemCalls calls;
    systemCalls().fullPath = [](const char*, char* path, size_t capacity) -> int64_t {
      const std::string_view device = "\\\\.\\CON";
      if (capacity <= device.size()) return -1;
      std::memcpy(path, device.data(), device.size());
      path[device.size()] = '\0';
      return static_cast<int64_t>(device.size());
    };
    EXPECT_EQ(device("sub/con.txt.bak"),
              "the model file is a device: sub/con.txt.bak names the device CON (a device of the "
              "system), which the system opens in the file's place, so boxpaint makes no file");
  }
  fs::remove_all(folderPath);
}

}  // namespace
