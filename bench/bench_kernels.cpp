// The averaging-kernel step at its largest spectral size: 1000 points and the
// 80 segments of a ground-based path (inversion of the 1000 x 1000 spectral
// covariance, the products and the 80 x 80 inversion), and a whole run of
// study a of that size on the real line list. Prints seconds per step and
// per run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <sstream>
#include <string>

#include "common/records.hpp"
#include "bench_dir.hpp"
#include "timed_runs.hpp"
#include "tesk/kernels/averaging_kernels.hpp"
#include "tesk/run/progress.hpp"
#include "tesk/run/run.hpp"

namespace {


constexpr int kPoints = 1000;
constexpr int kSegments = 80;

// CO from 2145 to 2154.99 cm-1 at 0.01 cm-1 (999 steps, 1000 points).
const char* kDeck[] = {
    "5", "lines.hit", " ", " ", "c", "hitran 101", "0", "n", "a", "0.9", "t", "a", "r", "n", "m", "250.",
    "2145.", "2154.99", "co", "0", "1.0", "0", "0", "0.", "10.", "g 30.", "0", "0.01", "1.", "0.", "0.", "0.1",
    "0.001", "1e-7", "0", "0", "0.1", "250.", "0.3", "0.1", "1.0", "10", "n", "plot", "1 2", "end"};

void BM_KernelStep(benchmark::State& state) {
  // Weighting functions shaped like those of a line seen from the ground:
  // largest near the instrument, falling off with altitude and line distance.
  tesk::WeightingMatrix k = tesk::make_weighting_matrix();
  for (int i = 1; i <= kPoints; ++i) {
    const double x = (i - 500.0) / 50.0;
    for (int s = 1; s <= kSegments; ++s) k(i, s) = 1e3 * std::exp(-0.3 * s) / (1.0 + x * x / s) + 1e-30;
  }
  tesk::Matrix a = tesk::make_kernel_matrix();
  double seconds = 0.0;
  for (auto _ : state) {
    std::ostringstream out;
    rec::Console console(out);
    auto t0 = std::chrono::steady_clock::now();
    tesk::compute_averaging_kernels(tesk::RetrievalNoise{0.001f, 1e-7f}, kSegments, kPoints, k, a,
                                    tesk::Progress(console).kernel_report());
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    benchmark::DoNotOptimize(a(1, 1));
  }
  state.counters["s_per_step"] = seconds / static_cast<double>(state.iterations());
}
BENCHMARK(BM_KernelStep)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_KernelStudyRun(benchmark::State& state) {
  bench::BenchDir dir("lines_2000-2300.hit", {"midlat.vmr", "midlat.mod"}, "input-vorne", kDeck);
  if (!dir.ok()) {
    state.SkipWithError("shared data not found");
    return;
  }
  state.counters["s_per_run"] = bench::seconds_per_tesk_run(state);
}
BENCHMARK(BM_KernelStudyRun)->Unit(benchmark::kSecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
