#include "check/reading/count_visible_cells.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "check/reading/check_testing.h"

namespace {

// The plain form: every cell asks every block, last first, which paints it.
void countByCell(const Mesh& mesh, const BlockFileReport& report, PerBlock<int64_t>& visible,
                 int64_t& background) {
  visible.assign(report.cells.size(), 0);
  background = 0;
  const auto holds = [](CellRange range, int32_t cell) {
    return range.first <= cell && cell <= range.last;
  };
  for (int32_t k = 1; k <= mesh.northing.cellCount; ++k) {
    for (int32_t j = 1; j <= mesh.easting.cellCount; ++j) {
      for (int32_t i = 1; i <= mesh.elevation.cellCount; ++i) {
        size_t b = report.cells.size();
        while (b > 0) {
          const BlockCells& cells = report.cells[b - 1];
          if (holds(cells.easting, j) && holds(cells.northing, k) && holds(cells.elevation, i)) {
            break;
          }
          --b;
        }
        if (b == 0) {
          ++background;
        } else {
          ++visible[b - 1];
        }
      }
    }
  }
}

TEST(CountVisibleCellsTest, PiecesCountAsEveryCellAskedInTurn) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> coordinate(-20, 120);
  for (int round = 0; round < 30; ++round) {
    std::vector<double> e, n, z;
    for (int k = 0; k <= 7 + round % 5; ++k) e.push_back(10.0 * k);
    for (int k = 0; k <= 3 + round % 7; ++k) n.push_back(10.0 * k);
    for (int k = 0; k <= 90 + round; ++k) z.push_back(100.0 - 1.0 * k);
    TestMesh test(e, n, z);
    std::vector<BlockRecord> blocks;
    for (int b = 0; b < 25; ++b) {
      blocks.push_back({coordinate(random), coordinate(random), coordinate(random),
                        coordinate(random), coordinate(random), coordinate(random), 1.0});
    }
    const BlockFileReport report = reportOf(test.mesh, blocks);
    PerBlock<int64_t> visible;
    int64_t background = 0;
    countByCell(test.mesh, report, visible, background);
    ASSERT_EQ(report.visible, visible) << round;
    ASSERT_EQ(report.backgroundCells, background) << round;
  }
}

}  // namespace
