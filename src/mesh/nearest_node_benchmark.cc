#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "mesh/nearest_node.h"
#include "mesh/node_order.h"

namespace {

// A 2000-node rising axis of uneven widths, and coordinates spread over it and a little
// beyond, as block bounds would be.
struct AxisFixture {
  std::vector<double> nodes;
  std::vector<double> xs;
  NodeAxis axis;

  AxisFixture() {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> width(1.0, 50.0);
    double node = -5000.0;
    for (int k = 0; k < 2000; ++k) {
      nodes.push_back(node);
      node += width(rng);
    }
    std::uniform_real_distribution<double> spread(nodes.front() - 100, nodes.back() + 100);
    for (int k = 0; k < 4096; ++k) xs.push_back(spread(rng));
    axis.cellCount = static_cast<int32_t>(nodes.size()) - 1;
    axis.nodeCount = static_cast<int32_t>(nodes.size());
    axis.nodes = nodes.data();
    classifyNodeOrder(axis);
  }
};

template <int32_t (*Search)(const NodeAxis&, double)>
void searchAxis(benchmark::State& state) {
  static const AxisFixture fixture;
  size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Search(fixture.axis, fixture.xs[next]));
    next = (next + 1) % fixture.xs.size();
  }
}

BENCHMARK(searchAxis<nearestNode>)->Name("NearestNode/Sorted2000");
BENCHMARK(searchAxis<nearestNodeSequential>)->Name("NearestNodeSequential/2000");

}  // namespace
