// The information-content step of a line-finding study on the real data,
// through the 80 layers of a ground-based path at a grid of 0.002 cm-1 with
// an instrument of 180 cm maximum path difference: for every window the
// spectra of the window and the spectrum around it that the line shape
// reaches, twice (the temperature's derivative), the derivatives convolved
// column by column, then the error budget of the window and of all windows
// together; table79 and table80 are written. CO: 100 windows of 0.3 cm-1 at
// 2100-2200 cm-1 (about 25 lines per cm-1); C2H6: 20 windows of 1 cm-1 at
// 2970-2990 cm-1 (about 150 lines per cm-1). Prints seconds per step.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_dir.hpp"
#include "common/records.hpp"
#include "inputs/line_list.hpp"
#include "tesk/run/deck.hpp"
#include "tesk/run/file_names.hpp"
#include "tesk/run/run_state.hpp"
#include "tesk/run/setup.hpp"
#include "tesk/run/window_information.hpp"
#include "tesk/tables/solar_file.hpp"

namespace {


std::vector<const char*> study_deck(const char* gas, const char* vlo, const char* vhi) {
  return {"5", "lines.hit", " ", " ", "c", "hitran 101", "0", "n", "d", "0.9", "t", "a", "r", "n", "m", "300.",
          vlo, vhi, gas, "0", "1.0", "0", "0", "0.", "10.", "g30.", "0", "0.002", "2.0", "180.", "0.", "0.1",
          "0.001", "0.1", "0", "0", "0.1", "250.", "0.3", "0.1", "1.0", "10", "n", "table71", "1 4", "end"};
}

// `windows` windows of `width` cm-1, 1 cm-1 apart from `first_centre` on.
void run_step(benchmark::State& state, const char* list, const char* gas, float first_centre, int windows,
              float width) {
  char vlo[16], vhi[16];
  std::snprintf(vlo, sizeof vlo, "%.1f", static_cast<double>(first_centre) - 0.5);
  std::snprintf(vhi, sizeof vhi, "%.1f", static_cast<double>(first_centre) + windows - 0.5);
  const auto deck = study_deck(gas, vlo, vhi);
  bench::BenchDir dir(list, {"midlat.vmr", "midlat.mod"}, "input-vorne", deck);
  if (!dir.ok()) {
    state.SkipWithError("shared data not found");
    return;
  }
  // Windows one after the other, as table76 would list them.
  {
    std::ofstream t76("table76");
    t76 << "name     cm-1     window \r\n";
    for (int w = 0; w < windows; ++w) {
      char row[64];
      std::snprintf(row, sizeof row, "%-8s %7.2f %6.2f\r\n", gas, static_cast<double>(first_centre) + w,
                    static_cast<double>(width));
      t76 << row;
    }
  }
  double seconds = 0.0;
  for (auto _ : state) {
    tesk::RunState run;
    run.deck = tesk::read_deck();
    tesk::finish_deck(run.deck);
    run.names = tesk::compose_names(run.deck.outpath);
    run.deck.nrec = inputs::count_records(run.deck.linefile);
    run.setup = tesk::spectrum_setup(run.deck);
    run.sun.emplace(tesk::solar_file_source(run.deck.inpath));
    std::ostringstream out;
    rec::Console console(out);
    const auto t0 = std::chrono::steady_clock::now();
    tesk::window_information(run, console);  // the path is set up here, as in a sort run
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  state.counters["s_per_step"] = seconds / static_cast<double>(state.iterations());
}

void BM_InformationCo(benchmark::State& state) { run_step(state, "lines_2000-2300.hit", "co", 2100.5f, 100, 0.3f); }
BENCHMARK(BM_InformationCo)->Unit(benchmark::kSecond)->Iterations(3);

void BM_InformationC2h6(benchmark::State& state) { run_step(state, "lines_2900-3070.hit", "c2h6", 2970.5f, 20, 1.0f); }
BENCHMARK(BM_InformationC2h6)->Unit(benchmark::kSecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
