// Whole runs of the built line-finding program on the decks in bench/decks,
// against the real data: the seconds a study takes from the deck to its last
// table, on one thread and on all cores. The deck c2h6_2900-3070 is a
// line-finding study over the whole 2900-3070 cm-1 extract (grid 0.001 cm-1,
// six intervals, 80 layers, every line of the extract). Its target is C2H6.
// ch4_2900-3070 is the CH4 study of the same extract at 0.002 cm-1 (about
// 12800 target lines, three intervals), co_2000-2300 the CO study of its
// extract at 0.0005 cm-1 (twenty intervals, each convolved with a transform
// of 65536 points); both run on two threads, as the planning machines have two cores.
// co_2000-2300_plan is the CO study of a retrieval plan: a mid-latitude
// station at a solar zenith angle of 60 degrees, noise 1/300, grid
// 0.002 cm-1 and an instrument of 180 cm. Every table
// the run writes is counted, so the figure covers whatever steps the program
// performs after the spectra; peak_rss_mb is the largest resident size a run
// reached. s_to_table76 and s_to_table81 are the seconds from the start of
// the last run to the last write of table76 (line finding done) and of
// table81 (the recommended windows, after the information step), and
// table81_over_table76 their ratio. Another deck becomes another benchmark
// with one line below.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

// A working directory with the deck as input-vorne and links to the data,
// removed with the object.
class StudyDir {
 public:
  StudyDir(const std::string& deck, const std::string& line_list) {
    const fs::path data = LF_SHARED_DATA;
    const fs::path deck_file = fs::path(LF_BENCH_DECKS) / deck;
    ok_ = fs::exists(data / line_list) && fs::exists(deck_file);
    if (!ok_) return;
    dir_ = fs::temp_directory_path() / ("lf-study-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    fs::copy_file(deck_file, dir_ / "input-vorne");
    fs::create_symlink(fs::absolute(data / line_list), dir_ / "lines.hit");
    for (const char* f :
         {"midlat.vmr", "midlat.mod", "tropic.vmr", "tropic.mod", "arctic.vmr", "arctic.mod", "solar.dat"}) {
      fs::create_symlink(fs::absolute(data / f), dir_ / f);
    }
  }
  ~StudyDir() {
    if (ok_) fs::remove_all(dir_);
  }
  bool ok() const { return ok_; }
  const fs::path& path() const { return dir_; }

 private:
  bool ok_ = false;
  fs::path dir_;
};

// User and system seconds of the finished programs this process started.
double children_cpu_seconds() {
  rusage u{};
  ::getrusage(RUSAGE_CHILDREN, &u);
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + 1e-6 * static_cast<double>(t.tv_usec);
  };
  return seconds(u.ru_utime) + seconds(u.ru_stime);
}

// The largest resident size, in 2^20 bytes, that a finished program this
// process started reached (Linux counts ru_maxrss in kilobytes).
double children_peak_megabytes() {
  rusage u{};
  ::getrusage(RUSAGE_CHILDREN, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// Runs the deck with `threads` threads (0: the program's default, all cores).
void run_study(benchmark::State& state, const std::string& deck, const std::string& line_list) {
  StudyDir dir(deck, line_list);
  if (!dir.ok()) {
    state.SkipWithError(("deck " + deck + " or the real data (" + line_list + " in " + LF_SHARED_DATA +
                         ") not found: skipped")
                            .c_str());
    return;
  }
  const std::string threads = state.range(0) > 0 ? "OMP_NUM_THREADS=" + std::to_string(state.range(0)) + " " : "";
  const std::string cmd =
      "cd '" + dir.path().string() + "' && " + threads + "'" + LF_TESK_BIN + "' </dev/null >console 2>&1";
  int tables = 0;
  const double cpu_before = children_cpu_seconds();
  fs::file_time_type started;
  for (auto _ : state) {
    started = fs::file_time_type::clock::now();
    const int raw = std::system(cmd.c_str());
    if (!WIFEXITED(raw) || WEXITSTATUS(raw) != 0) {
      state.SkipWithError("the run did not end normally; see its console");
      return;
    }
    tables = 0;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      tables += entry.path().filename().string().rfind("table", 0) == 0 ? 1 : 0;
    }
  }
  state.counters["tables"] = tables;
  // Tables are renamed into place at the end of the run; their times are those of their last write.
  const auto seconds_to = [&](const char* table) {
    std::error_code e;
    const auto t = fs::last_write_time(dir.path() / table, e);
    return e ? 0.0 : std::chrono::duration<double>(t - started).count();
  };
  state.counters["s_to_table76"] = seconds_to("table76");
  state.counters["s_to_table81"] = seconds_to("table81");
  if (seconds_to("table76") > 0.0) state.counters["table81_over_table76"] = seconds_to("table81") / seconds_to("table76");
  state.counters["program_cpu_s"] = (children_cpu_seconds() - cpu_before) / static_cast<double>(state.iterations());
  state.counters["peak_rss_mb"] = children_peak_megabytes();
}

void BM_StudyC2h6_2900_3070(benchmark::State& state) {
  run_study(state, "c2h6_2900-3070", "lines_2900-3070.hit");
}
BENCHMARK(BM_StudyC2h6_2900_3070)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

void BM_StudyCh4_2900_3070(benchmark::State& state) { run_study(state, "ch4_2900-3070", "lines_2900-3070.hit"); }
BENCHMARK(BM_StudyCh4_2900_3070)->ArgName("threads")->Arg(2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_StudyCo_2000_2300(benchmark::State& state) { run_study(state, "co_2000-2300", "lines_2000-2300.hit"); }
BENCHMARK(BM_StudyCo_2000_2300)->ArgName("threads")->Arg(2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_StudyCoPlan_2000_2300(benchmark::State& state) {
  run_study(state, "co_2000-2300_plan", "lines_2000-2300.hit");
}
BENCHMARK(BM_StudyCoPlan_2000_2300)->ArgName("threads")->Arg(2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
