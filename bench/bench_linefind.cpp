// Line finding on a large synthetic case: a table71 of 570,000 samples
// (2000 to 4850 cm-1 at 0.005 cm-1) and a line list with 5,000 target lines
// among as many lines of another gas. Prints the seconds for tables 72 to 76
// together, each table read back from disk by the next step as in a run.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "common/records.hpp"
#include "tesk/linefind/line_finding.hpp"
#include "tesk/tables/table71_reader.hpp"

namespace {

namespace fs = std::filesystem;

constexpr int kSamples = 570000;
constexpr int kTargetLines = 5000;
constexpr double kStart = 2000.0;
constexpr double kGrid = 0.005;
constexpr double kSpacing = kSamples * kGrid / kTargetLines;  // cm-1 between target lines

double target_position(int i) { return kStart + (i + 0.5) * kSpacing; }

// A directory with the deck echo, table71 and the line list, removed at the end.
class Inputs {
 public:
  Inputs() {
    dir_ = fs::temp_directory_path() / ("lf-bench-linefind-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    write_echo();
    write_lines();
    write_spectra();
  }
  ~Inputs() { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }

 private:
  void write_echo() const {
    std::FILE* f = std::fopen(path("output").c_str(), "wb");
    for (int i = 1; i <= 46; ++i) {
      std::string line = i == 1 ? "5  header lines" : "deck line " + std::to_string(i);
      line.resize(200, ' ');
      std::fprintf(f, "%s\r\n", line.c_str());
    }
    std::fclose(f);
  }
  // CO lines (molecule 5) with E'' from 0 to 2500 cm-1, each followed by a
  // line of water a third of the spacing above it.
  void write_lines() const {
    std::FILE* f = std::fopen(path("lines.hit").c_str(), "wb");
    for (int i = 0; i < kTargetLines; ++i) {
      for (int mol : {5, 1}) {
        const double pos = target_position(i) + (mol == 1 ? kSpacing / 3 : 0.0);
        char rec[160];
        std::snprintf(rec, sizeof rec, "%2d%1d%12.6f%10.3E%10s%s%s%10.4f%s%s%3d%3d", mol, 1, pos, 1.0e-20, "",
                      ".0700", ".0800", 0.5 * (i % 5000), " .75", "-.002000", 0, 0);
        std::string r(rec);
        r.resize(100, ' ');
        std::fprintf(f, "%s\n", r.c_str());
      }
    }
    std::fclose(f);
  }
  // Lorentzian target lines of varying depth and a slowly varying
  // transmission of the other gases.
  void write_spectra() const {
    std::FILE* f = std::fopen(path("table71").c_str(), "wb");
    std::fprintf(f, "3 5\r\nRad. in transmission\r\n  cm-1      target      all-target   all-gases  diff-10%%\r\n");
    for (int l = 0; l < kSamples; ++l) {
      const double nu = kStart + l * kGrid;
      const int i = std::clamp(static_cast<int>((nu - kStart) / kSpacing), 0, kTargetLines - 1);
      const double x = (nu - target_position(i)) / 0.03;
      const double tau = (0.2 + 0.8 * ((i * 7919) % 1000) / 1000.0) / (1.0 + x * x);
      const double target = std::exp(-tau);
      const double other = 0.9 + 0.09 * std::sin(nu * 7.0);
      std::fprintf(f, "%10.4f %.5E %.5E %.5E %.5E\r\n", nu, target, other, target * other,
                   target * other * (std::exp(-0.1 * tau) - 1.0));
    }
    std::fclose(f);
  }
  fs::path dir_;
};

int count_records(const std::string& path) {
  rec::TextReader in(path);
  std::string r;
  int n = 0;
  while (in.next_record(r) == rec::ReadStatus::ok) ++n;
  return n;
}

void BM_LineFinding(benchmark::State& state) {
  Inputs in;
  tesk::LineFindSettings s;
  s.gasno = 5;
  s.gasname = "co     ";
  s.line_list = in.path("lines.hit");
  s.reclen = 101;
  s.nrec = 2 * kTargetLines;
  s.vlo = static_cast<float>(kStart);
  s.vhi = static_cast<float>(kStart + kSamples * kGrid);
  s.tfactor = 0.9f;
  s.interfw = 0.1f;
  s.tsens = 250.0f;
  s.winstart = 0.4f;
  s.wincentre = 0.05f;
  s.maxwidth = 1.0f;
  s.tsenslim = 1000.0f;
  s.maxwin = 10000;
  const tesk::LineFindFiles files{in.path("output"),  in.path("table71"), in.path("table72"), in.path("table73"),
                                  in.path("table74"), in.path("table75"), in.path("table76")};
  const tesk::SampleReaders read{[&](tesk::TargetSamples& t) { tesk::read_target_samples(files.table71, s.tfactor, t); },
                                 [&](tesk::WindowSamples& w) { tesk::read_window_samples(files.table71, w); }};
  double seconds = 0.0;
  for (auto _ : state) {
    std::ostringstream out;
    rec::Console console(out);
    const auto t0 = std::chrono::steady_clock::now();
    tesk::find_lines(s, files, read, console);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    benchmark::DoNotOptimize(out.str().size());
  }
  state.counters["s_per_run"] = seconds / static_cast<double>(state.iterations());
  state.counters["samples"] = kSamples;
  state.counters["target_lines"] = kTargetLines;
  state.counters["ranked"] = static_cast<double>(count_records(files.table74) - 8);
  state.counters["windows"] = static_cast<double>(count_records(files.table76) - 1);
}
BENCHMARK(BM_LineFinding)->Unit(benchmark::kSecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
