// Speed of the instrument line shape: grid points per second of whole
// convolutions of one spectrum class, from a short interval to the longest
// one a 0.001 cm-1 grid allows (30001 points, transform length 32768), with
// and without the field-of-view box; and the cosine transform alone.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "tesk/engine/convolution.hpp"
#include "tesk/engine/cosine_transform.hpp"

namespace {

constexpr float kVstart = 2900.0f;  // cm-1
constexpr float kGrid = 0.001f;     // cm-1
constexpr float kResol = 10.0f;     // cm, maximum optical path difference

std::vector<double> synthetic_spectrum(int npts) {
  std::vector<double> spec(static_cast<std::size_t>(npts) + 1);
  for (int j = 0; j <= npts; ++j) {
    const double x = std::fmod(j * 0.37, 50.0) - 25.0;
    spec[static_cast<std::size_t>(j)] = 1.0 - 0.6 / (1.0 + x * x);
  }
  return spec;
}

void convolve(benchmark::State& state, float fovarea) {
  const int npts = static_cast<int>(state.range(0));
  const std::vector<double> input = synthetic_spectrum(npts);
  tesk::CosineTransform plans;
  std::vector<double> spec = input;
  for (auto _ : state) {
    spec = input;
    tesk::convolve_spectrum(tesk::Instrument{kResol, fovarea}, tesk::IntervalGrid{kVstart, 0.0f, kGrid, npts}, plans, spec);
    benchmark::DoNotOptimize(spec.data());
  }
  state.counters["points/s"] =
      benchmark::Counter(static_cast<double>(npts + 1) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate);
}

void BM_ConvolveNoFieldOfView(benchmark::State& state) { convolve(state, 0.0f); }
// 1.5 mrad field-of-view radius: a box of about 10 points at 2900 cm-1.
void BM_ConvolveWithFieldOfView(benchmark::State& state) { convolve(state, 3.1415f * 1.5e-3f * 1.5e-3f); }

void BM_CosineTransformRoundTrip(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<float> y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) y[static_cast<std::size_t>(i)] = std::sin(0.01f * static_cast<float>(i));
  tesk::CosineTransform plans;
  for (auto _ : state) {
    tesk::cosine_transform(plans, y, 1);
    tesk::cosine_transform(plans, y, -1);
    for (float& v : y) v *= 2.0f / static_cast<float>(n);
    benchmark::DoNotOptimize(y.data());
  }
  state.counters["points/s"] = benchmark::Counter(static_cast<double>(n) * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ConvolveNoFieldOfView)->Arg(3000)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConvolveWithFieldOfView)->Arg(30000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CosineTransformRoundTrip)->Arg(4096)->Arg(32768)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
