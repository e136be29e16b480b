// The interfering-gas program over 20 windows of 10 cm-1 in the real
// 2900-3070 cm-1 line list, through the mid-latitude atmosphere with the
// solar spectrum. Prints the seconds per window of the whole run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "kormal/run.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int kWindows = 20;

const char* kDeck[] = {"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0", "y", "0", "0.", "0.",
                       "d", "n", "n"};

// A working directory with the deck, the window table and links to the real
// data, entered for the lifetime of the object.
class BenchDir {
 public:
  BenchDir() {
    const fs::path data = LF_SHARED_DATA;
    ok_ = fs::exists(data / "lines_2900-3070.hit");
    if (!ok_) return;
    old_ = fs::current_path();
    dir_ = fs::temp_directory_path() / ("lf-bench-kormal-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    fs::create_symlink(fs::absolute(data / "lines_2900-3070.hit"), dir_ / "lines.hit");
    for (const char* f : {"midlat.vmr", "solar.dat"}) fs::create_symlink(fs::absolute(data / f), dir_ / f);
    std::ofstream deck(dir_ / "input-kormal");
    for (const char* line : kDeck) deck << line << "\n";
    std::ofstream table(dir_ / "table76");
    table << "name     cm-1     window \n";
    for (int j = 0; j < kWindows; ++j) {
      char row[32];
      std::snprintf(row, sizeof row, "ch4      %7.2f %6.2f\n", 2912.5 + 7.5 * j, 10.0);
      table << row;
    }
    deck.close();
    table.close();
    fs::current_path(dir_);
  }
  ~BenchDir() {
    if (!ok_) return;
    fs::current_path(old_);
    fs::remove_all(dir_);
  }
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
  fs::path old_, dir_;
};

void BM_KormalRun(benchmark::State& state) {
  BenchDir dir;
  if (!dir.ok()) {
    state.SkipWithError("shared data not found");
    return;
  }
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
