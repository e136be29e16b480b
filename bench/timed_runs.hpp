// Whole runs of the line-finding program in the current directory, timed
// run by run (the console goes to a string): the seconds of one run.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <sstream>

#include "common/records.hpp"
#include "tesk/run/run.hpp"

namespace bench {

inline double seconds_per_tesk_run(benchmark::State& state) {
  double seconds = 0.0;
  for (auto _ : state) {
    std::ostringstream out;
    rec::Console console(out);
    const auto t0 = std::chrono::steady_clock::now();
    tesk::run(console);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  return seconds / static_cast<double>(state.iterations());
}

}  // namespace bench
