// Painting speed: the many-block workload of the whole-run benchmark (431 x 431 x 215 cells
// of 10, 2,000,000 blocks of up to 10 cells along each axis), painted piece by piece, each
// label turned into its record as the writer does.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

#include "mesh/node_order.h"
#include "model/blocks/block_cells.h"
#include "model/paint/model_painter.h"

namespace {

struct Workload {
  std::vector<double> east, north, down;
  Mesh mesh;
  std::vector<BlockCells> cells;

  Workload(int32_t ne, int32_t nn, int32_t nz, int blocks) {
    const auto axis = [](std::vector<double>& nodes, NodeAxis& axis, int32_t cells, double step) {
      for (int32_t k = 0; k <= cells; ++k) nodes.push_back(k * step);
      axis.cellCount = cells;
      axis.nodeCount = cells + 1;
      axis.nodes = nodes.data();
      classifyNodeOrder(axis);
    };
    axis(east, mesh.easting, ne, 10);
    axis(north, mesh.northing, nn, 10);
    axis(down, mesh.elevation, nz, -10);
    std::mt19937_64 random(20261207);
    std::uniform_real_distribution<double> unit(0, 1);
    for (int b = 0; b < blocks; ++b) {
      const double e = unit(random) * ne * 10, n = unit(random) * nn * 10;
      const double z = -unit(random) * nz * 10;
      BlockRecord record{
          e, e + unit(random) * 100, n + unit(random) * 100, n, z, z - unit(random) * 100, 1};
      cells.push_back(blockCells(mesh, record));
    }
  }
};

void BM_PaintManyBlocks(benchmark::State& state) {
  const Workload workload(static_cast<int32_t>(state.range(0)),
                          static_cast<int32_t>(state.range(1)),
                          static_cast<int32_t>(state.range(2)), static_cast<int>(state.range(3)));
  std::vector<char> buffer(size_t{12} << 18);
  const char background[kModelValueWidth + 1] = " 1.500E+00";
  int64_t cells = 0;
  for (auto _ : state) {
    state.PauseTiming();
    BlockList blocks;
    for (const BlockCells& cells : workload.cells) {
      PaintedBlock& block = *appendBlock(blocks);
      block.cells = cells;
      block.value = 7;
    }
    state.ResumeTiming();
    ModelPainter painter;
    const Mesh& mesh = workload.mesh;
    startPainting(painter, blocks, mesh.easting.cellCount, mesh.northing.cellCount,
                  mesh.elevation.cellCount, kPieceCells, background);
    ModelPiece piece;
    const uint32_t* labels = nullptr;
    size_t at = 0;
    while (paintNextPiece(painter, piece, labels)) {
      const size_t count = static_cast<size_t>(cellsIn(piece));
      if (at + count * 12 > buffer.size()) at = 0;
      if (labels == nullptr) {
        std::memset(buffer.data() + at, ' ', count * 12);
      } else {
        const char* const* texts = labelTexts(painter);
        for (size_t i = 0; i < count; ++i) {
          std::memcpy(buffer.data() + at + i * 12, texts[labels[i]], kModelValueWidth);
        }
      }
      at += count * 12;
      cells += cellsIn(piece);
    }
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetItemsProcessed(cells);
}
BENCHMARK(BM_PaintManyBlocks)
    ->Args({431, 431, 215, 2000000})
    ->Args({200, 200, 100, 200000})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
