// The interfering-gas program over 20 windows of 10 cm-1 in the real
// 2900-3070 cm-1 line list, through the mid-latitude atmosphere with the
// solar spectrum. Prints the seconds per window of the whole run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench_dir.hpp"
#include "kormal/run.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int kWindows = 20;

const char* kDeck[] = {"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0", "y", "0", "0.", "0.",
                       "d", "n", "n"};

// The window table: 20 CH4 windows of 10 cm-1 across the extract.
void write_windows(const fs::path& dir) {
  std::ofstream table(dir / "table76");
  table << "name     cm-1     window \n";
  for (int j = 0; j < kWindows; ++j) {
    char row[32];
    std::snprintf(row, sizeof row, "ch4      %7.2f %6.2f\n", 2912.5 + 7.5 * j, 10.0);
    table << row;
  }
}

void BM_KormalRun(benchmark::State& state) {
  bench::BenchDir dir("lines_2900-3070.hit", {"midlat.vmr", "solar.dat"}, "input-kormal", kDeck);
  if (!dir.ok()) {
    state.SkipWithError("shared data not found");
    return;
  }
  write_windows(dir.path());
  double seconds = 0.0;
  for (auto _ : state) {
    std::ostringstream out;
    std::istringstream keyboard;
    rec::Console console(out);
    auto t0 = std::chrono::steady_clock::now();
    kormal::run(console, keyboard);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    benchmark::DoNotOptimize(out.str().size());
  }
  state.counters["s_per_window"] = seconds / static_cast<double>(state.iterations() * kWindows);
}
BENCHMARK(BM_KormalRun)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
