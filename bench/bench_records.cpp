// Throughput of the record library on the shape of the spectrum table: rows of
// "(f10.4,1x,4(e11.5,1x))" written to a text file, then read back free-form.
// The figure that matters is values per second, each way.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/records.hpp"

namespace {

constexpr int kRows = 1000000;
constexpr int kValuesPerRow = 5;

std::string table_path() {
  return (std::filesystem::temp_directory_path() / "bench_records_table.txt").string();
}

void write_table(const std::string& path) {
  static const rec::Format kRow("(f10.4,1x,4(e11.5,1x))");
  rec::TextWriter out(path);
  for (int i = 0; i < kRows; ++i) {
    double nu = 2000.0 + 0.005 * i;
    double t = std::exp(-1e-3 * (i % 977));
    out.write(kRow, {nu, t, 1.0 - t, 0.5 * t, 1e-5 * t});
  }
  out.close();
}

void BM_WriteTable(benchmark::State& state) {
  std::string path = table_path();
  for (auto _ : state) write_table(path);
  state.counters["values_per_second"] =
      benchmark::Counter(static_cast<double>(kRows) * kValuesPerRow, benchmark::Counter::kIsIterationInvariantRate);
  std::remove(path.c_str());
}

void BM_ReadTableFreeForm(benchmark::State& state) {
  std::string path = table_path();
  write_table(path);
  for (auto _ : state) {
    rec::TextReader in(path);
    double v[kValuesPerRow] = {};
    int rows = 0;
    while (in.read_free({&v[0], &v[1], &v[2], &v[3], &v[4]}) == rec::ReadStatus::ok) ++rows;
    benchmark::DoNotOptimize(v);
    if (rows != kRows) state.SkipWithError("wrong number of rows read back");
  }
  state.counters["values_per_second"] =
      benchmark::Counter(static_cast<double>(kRows) * kValuesPerRow, benchmark::Counter::kIsIterationInvariantRate);
  std::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_WriteTable)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadTableFreeForm)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
