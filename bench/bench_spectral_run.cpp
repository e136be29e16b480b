// A complete run of study s on the real line list: 30 cm-1 of the
// 2900-3070 cm-1 extract at a grid of 0.001 cm-1 (one interval of 30000
// steps) through the 80 layers of the mid-latitude atmosphere. Prints the
// seconds per interval of the whole run and the line-layer-point updates per
// second of its line pass, walked point by point and in vector blocks, on
// one thread and on all cores.
#include <benchmark/benchmark.h>
#include <omp.h>

#include <chrono>
#include <sstream>
#include <string>
#include <vector>

#include "bench_dir.hpp"
#include "timed_runs.hpp"
#include "inputs/line_list.hpp"
#include "tesk/engine/spectra.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/line_pass.hpp"
#include "tesk/run/path_setup.hpp"
#include "tesk/run/run.hpp"
#include "tesk/run/setup.hpp"

namespace {


const char* kDeck[] = {
    "5", "lines.hit", " ", " ", "c", "hitran 101", "0", "n", "s", "0.9", "t", "a", "r", "n", "m", "300.",
    "2950.", "2980.", "ch4", "0", "1.0", "0", "0", "0.", "10.", "g 30.", "0", "0.001", "10.", "0.", "0.", "0.1",
    "0.001", "0.1", "0", "0", "0.1", "250.", "0.3", "0.1", "1.0", "10", "n", "plot", "1 2", "end"};

void BM_CompleteRun(benchmark::State& state) {
  bench::BenchDir dir("lines_2900-3070.hit", {"midlat.vmr", "midlat.mod"}, "input-vorne", kDeck);
  if (!dir.ok()) {
    state.SkipWithError("shared data not found");
    return;
  }
  state.counters["s_per_interval"] = bench::seconds_per_tesk_run(state);
}
BENCHMARK(BM_CompleteRun)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The line pass of the interval, walked point by point (arg 0 = 0) or in
// vector blocks (1), on arg 1 threads (0: OpenMP's default, all cores).
// Reports line-layer-point updates per second of elapsed time.
void BM_LinePass(benchmark::State& state) {
  bench::BenchDir dir("lines_2900-3070.hit", {"midlat.vmr", "midlat.mod"}, "input-vorne", kDeck);
  if (!dir.ok()) {
    state.SkipWithError("shared data not found");
    return;
  }
  const auto walk = state.range(0) == 0 ? tesk::ProfileWalk::plain : tesk::ProfileWalk::blocked;
  const int threads_before = omp_get_max_threads();
  if (state.range(1) > 0) omp_set_num_threads(static_cast<int>(state.range(1)));
  tesk::RunState run;
  run.deck = tesk::read_deck();
  tesk::finish_deck(run.deck);
  run.deck.nrec = inputs::count_records("lines.hit");
  tesk::set_up_path(run);
  const tesk::SpectrumSetup setup = tesk::spectrum_setup(run.deck);
  tesk::IntervalGrid g{run.deck.vlo, run.deck.vhi, run.deck.grid, 30000};
  tesk::Extinction& ext = run.work.ext;
  std::vector<inputs::LineRecord>& lines = run.work.lines;
  long long updates = 0;
  for (auto _ : state) {
    inputs::LineList list("lines.hit", run.deck.reclen, run.deck.nrec, tesk::letter_of(run.deck.dbtype));
    updates += tesk::add_interval_lines(setup, tesk::PathModel{run.atm, run.path}, g, list, ext, lines, walk);
    benchmark::DoNotOptimize(ext(1, 1, 0));
  }
  omp_set_num_threads(threads_before);
  state.counters["lines"] = static_cast<double>(lines.size());
  state.counters["threads"] = state.range(1) > 0 ? static_cast<double>(state.range(1)) : threads_before;
  state.counters["updates_per_s"] = benchmark::Counter(static_cast<double>(updates), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LinePass)
    ->ArgNames({"blocked", "threads"})
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
