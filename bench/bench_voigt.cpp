// Speed of the innermost loop of the spectra: Voigt function evaluations per
// second over the arguments a line wing produces, and grid points per second
// of whole profile accumulations, walked in blocks and point by point. A 0.001 cm-1 grid, a Doppler half width of
// 3e-3 cm-1 and Lorentz half widths from 1e-4 to 0.1 cm-1 (upper stratosphere
// to ground).
#include <benchmark/benchmark.h>

#include <cmath>
#include <span>
#include <vector>

#include "tesk/engine/line_shape.hpp"
#include "tesk/engine/voigt.hpp"

namespace {

constexpr float kGrid = 0.001f;     // cm-1
constexpr int kWingPoints = 30000;  // 30 cm-1 of wing
constexpr float kAlphaD = 3.0e-3f;  // cm-1
const float kSqrtLn2 = static_cast<float>(std::sqrt(std::log(2.0)));

struct Argument {
  float x;
  float y;
};

// One wing, point by point, for each Lorentz width: the mix of regions the
// spectra see (mostly the far-wing formula, a few hundred points near the centre).
std::vector<Argument> wing_arguments() {
  std::vector<Argument> args;
  for (float alpha_l : {1e-4f, 1e-3f, 1e-2f, 0.1f}) {
    const float y = kSqrtLn2 * alpha_l / kAlphaD;
    for (int i = 0; i <= kWingPoints; ++i) {
      args.push_back({kSqrtLn2 * static_cast<float>(i) * kGrid / kAlphaD, y});
    }
  }
  return args;
}

void BM_VoigtW4WingMix(benchmark::State& state) {
  const std::vector<Argument> args = wing_arguments();
  for (auto _ : state) {
    float sum = 0.0f;
    for (const Argument& a : args) sum += tesk::voigt_w4(a.x, a.y);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(args.size()));
  state.SetLabel("voigt_w4 evaluations");
}
BENCHMARK(BM_VoigtW4WingMix)->Unit(benchmark::kMillisecond);

// A line in the middle of a full interval of 30000 steps; its wings reach
// both edges at the fine-grid threshold 1e-12. Walked in vector blocks (what
// runs use) or point by point.
using AddLine = int (*)(std::span<double>, double, const tesk::IntervalGrid&, const tesk::LineProfile&, float);

void add_line_benchmark(benchmark::State& state, AddLine add_line) {
  const float alpha_l = static_cast<float>(state.range(0)) * 1e-4f;
  const int npts = kWingPoints;
  const float vstart = 2900.0f;
  const float vend = vstart + static_cast<float>(npts) * kGrid;
  const double nu0 = 2915.0;
  const tesk::IntervalGrid g{vstart, vend, kGrid, npts};
  std::vector<double> row(static_cast<std::size_t>(npts) + 1, 0.0);
  int64_t touched = 0;
  for (auto _ : state) {
    touched += add_line(row, 1e-3, g, tesk::LineProfile{nu0, kAlphaD, alpha_l}, 1e-12f);
    benchmark::DoNotOptimize(row.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(touched);
  state.SetLabel("grid points, alpha_l = " + std::to_string(alpha_l) + " cm-1");
}

void BM_AddVoigtLine(benchmark::State& state) { add_line_benchmark(state, tesk::add_voigt_line); }
BENCHMARK(BM_AddVoigtLine)->Arg(1)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_AddVoigtLinePlain(benchmark::State& state) { add_line_benchmark(state, tesk::add_voigt_line_plain); }
BENCHMARK(BM_AddVoigtLinePlain)->Arg(1)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
