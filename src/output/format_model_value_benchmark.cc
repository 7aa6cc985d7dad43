#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "output/format_model_value.h"
#include "output/format_model_value_exact.h"

namespace {

// A model holds a background and a handful of block values, each repeated over many cells.
std::vector<double> typicalValues() {
  return {0.0, 100.0, 100.0, 2.5e3, 0.01, 100.0, -35.25, 1.0e-4, 100.0, 2.5e3, 0.0, 7.0};
}

// Finite doubles of any sign and magnitude, drawn uniformly over the bit patterns.
std::vector<double> randomValues() {
  std::mt19937_64 random(42);
  std::vector<double> values;
  while (values.size() < 4096) {
    const double value = std::bit_cast<double>(random());
    if (std::isfinite(value)) values.push_back(value);
  }
  return values;
}

// Renders the values in turn; the time per iteration is the time per value.
void BM_FormatModelValue(benchmark::State& state, void (*format)(double, char*),
                         const std::vector<double>& values) {
  char out[kModelValueWidth];
  size_t next = 0;
  for (auto _ : state) {
    format(values[next], out);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
    next = next + 1 == values.size() ? 0 : next + 1;
  }
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(BM_FormatModelValue, typical, formatModelValue, typicalValues());
BENCHMARK_CAPTURE(BM_FormatModelValue, random, formatModelValue, randomValues());
// The reference form, for scale.
BENCHMARK_CAPTURE(BM_FormatModelValue, exact_typical, formatModelValueExact, typicalValues());
BENCHMARK_CAPTURE(BM_FormatModelValue, exact_random, formatModelValueExact, randomValues());

}  // namespace
