#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "mesh/nearest_node.h"
#include "mesh/node_order.h"

namespace {

// Coordinates tried in turn; a power of two, so that the turn costs no division.
constexpr size_t kProbes = 4096;

// An axis of the given shape, and coordinates spread over it and a little beyond, as
// block bounds would be.
struct AxisFixture {
  std::vector<double> nodes;
  std::vector<double> xs;
  NodeAxis axis;

  // `count` nodes from `origin`, each width drawn from `width`; `growth` scales the widths
  // along the axis (1 for a mesh of even or random widths, above 1 for cells that grow
  // towards the edge).
  template <typename Width>
  AxisFixture(int count, double origin, Width width, double growth) {
    std::mt19937_64 rng(7);
    double node = origin;
    double factor = 1;
    for (int k = 0; k < count; ++k) {
      nodes.push_back(node);
      node += width(rng) * factor;
      factor *= growth;
    }
    const double low = std::min(nodes.front(), nodes.back());
    const double high = std::max(nodes.front(), nodes.back());
    std::uniform_real_distribution<double> spread(low - 0.02 * (high - low),
                                                  high + 0.02 * (high - low));
    for (size_t k = 0; k < kProbes; ++k) xs.push_back(spread(rng));
    axis.cellCount = static_cast<int32_t>(nodes.size()) - 1;
    axis.nodeCount = static_cast<int32_t>(nodes.size());
    axis.nodes = nodes.data();
    classifyNodeOrder(axis);
  }
};

const AxisFixture& even432() {  // the 431 cells of 10 of the many-block workload
  static const AxisFixture fixture(
      432, 0, [](std::mt19937_64&) { return 10.0; }, 1);
  return fixture;
}
const AxisFixture& falling216() {  // its elevation axis, falling from the top
  static const AxisFixture fixture(
      216, 0, [](std::mt19937_64&) { return -10.0; }, 1);
  return fixture;
}
const AxisFixture& uneven2000() {
  static const AxisFixture fixture(
      2000, -5000,
      [](std::mt19937_64& rng) { return std::uniform_real_distribution(1.0, 50.0)(rng); }, 1);
  return fixture;
}
const AxisFixture& growing300() {  // cells 2% wider each: many small ones at the start
  static const AxisFixture fixture(
      300, 0, [](std::mt19937_64&) { return 1.0; }, 1.02);
  return fixture;
}

template <const AxisFixture& (*Fixture)(), int32_t (*Search)(const NodeAxis&, double)>
void searchAxis(benchmark::State& state) {
  const AxisFixture& fixture = Fixture();
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Search(fixture.axis, fixture.xs[next]));
    next = (next + 1) & (kProbes - 1);
  }
}

BENCHMARK(searchAxis<even432, nearestNode>)->Name("NearestNode/Even432");
BENCHMARK(searchAxis<falling216, nearestNode>)->Name("NearestNode/Falling216");
BENCHMARK(searchAxis<uneven2000, nearestNode>)->Name("NearestNode/Uneven2000");
BENCHMARK(searchAxis<growing300, nearestNode>)->Name("NearestNode/Growing300");
BENCHMARK(searchAxis<even432, nearestNodeSequential>)->Name("NearestNodeSequential/Even432");
BENCHMARK(searchAxis<uneven2000, nearestNodeSequential>)->Name("NearestNodeSequential/Uneven2000");

}  // namespace
