// Throughput of turning a model file into a grid: the reading of the values in one pass,
// and their reordering into grid order.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "mesh/mesh.h"
#include "model_files/grid_cell_order.h"
#include "model_files/read_model.h"
#include "output/format_model_value.h"

namespace {

constexpr int32_t kSide = 100;  // a model of 100 x 100 x 100 cells, 12 MB of text

// A model file as boxpaint writes it: a background with a block of another value.
const std::string& modelFile() {
  static const std::string name = [] {
    const std::string path = "/tmp/boxpaint-view-benchmark-model.txt";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    char text[kModelValueWidth];
    for (int64_t cell = 0; cell < int64_t{kSide} * kSide * kSide; ++cell) {
      formatModelValue(cell % 7 == 0 ? 0.05 : 123.5, text);
      std::fwrite(text, 1, sizeof text, file);
      std::fputs("\r\n", file);
    }
    std::fclose(file);
    return path;
  }();
  return name;
}

void BM_ReadModel(benchmark::State& state) {
  static std::vector<double> nodes(kSide + 1);
  NodeAxis axis;
  axis.cellCount = kSide;
  axis.nodeCount = kSide + 1;
  axis.nodes = nodes.data();
  const Mesh mesh{axis, axis, axis};
  for (auto _ : state) {
    ModelValues model;
    benchmark::DoNotOptimize(readModel(modelFile().c_str(), mesh, model).status);
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kSide} * kSide * kSide * 12);
}
BENCHMARK(BM_ReadModel)->Unit(benchmark::kMillisecond);

void BM_ToGridCellOrder(benchmark::State& state) {
  const int64_t side = state.range(0);
  const std::vector<double> model(static_cast<size_t>(side * side * side), 1.0);
  std::vector<double> grid(model.size());
  for (auto _ : state) {
    // Elevation reversed, as every mesh whose elevation falls from the top needs.
    toGridCellOrder(model.data(), side, side, side, GridFlips{false, false, true}, 0, side,
                    grid.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * side * side * side * 8);
}
BENCHMARK(BM_ToGridCellOrder)->Arg(100)->Arg(320)->Unit(benchmark::kMillisecond);

}  // namespace
