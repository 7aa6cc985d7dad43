// Test support: a mesh over nodes the test holds, and a block file report made on it.
#pragma once

#include <vector>

#include "check/reading/block_file_report.h"
#include "check/reading/count_visible_cells.h"
#include "mesh/mesh.h"
#include "mesh/node_axis_testing.h"

/// For tests: a mesh of three axes over the nodes it holds (elevation nodes top down).
struct TestMesh {
  std::vector<double> easting, northing, elevation;
  Mesh mesh;
  TestMesh(std::vector<double> e, std::vector<double> n, std::vector<double> z)
      : easting(std::move(e)), northing(std::move(n)), elevation(std::move(z)) {
    mesh = Mesh{axisOver(easting), axisOver(northing), axisOver(elevation)};
  }
};

/// For tests: `blocks` as boxpaint reads them, one a line from line 3, painted on `mesh`.
inline BlockFileReport reportOf(const Mesh& mesh, const std::vector<BlockRecord>& blocks) {
  BlockFileReport report;
  report.blockCount = static_cast<int32_t>(blocks.size());
  for (size_t b = 0; b < blocks.size(); ++b) {
    BlockRecord block = blocks[b];
    report.read.push_back(block);
    report.cells.push_back(blockCells(mesh, block));
    report.lines.push_back({static_cast<int64_t>(b) + 3, static_cast<int64_t>(b) + 3});
  }
  countVisibleCells(mesh, report);
  return report;
}
