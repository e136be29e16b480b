#include "tesk/engine/solar_spectrum.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "common/stop.hpp"
#include "program_run.hpp"
#include "tesk/tables/solar_file.hpp"

namespace {

using testing_support::WorkDir;

// The solar spectrum of "solar.dat" on `inpath`, as a run reads it, applied once.
void apply(std::span<double> all, std::span<double> scaled, const std::string& inpath, const tesk::IntervalGrid& g) {
  tesk::SolarSpectrum sun(tesk::solar_file_source(inpath));
  tesk::apply_solar_spectrum(sun, all, scaled, g);
}

struct Sample {
  double w;
  double f;
};

// Samples w0 + k step for k = 0..count-1, with values that differ from sample
// to sample so that any wrong pairing shows.
std::vector<Sample> samples(double w0, double step, int count) {
  std::vector<Sample> s;
  for (int k = 0; k < count; ++k) s.push_back({w0 + k * step, 0.5 + 0.4 * ((k * 7) % 11) / 10.0});
  return s;
}

// The file starts with a pair one spacing below the first sample, whose value
// would show in the result if it were taken as a sample.
std::string solar_file(const std::vector<Sample>& s) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.4f 0.001\n", s[0].w - (s[1].w - s[0].w));
  std::string text = buf;
  for (const Sample& x : s) {
    std::snprintf(buf, sizeof buf, "%.4f %.4f\n", x.w, x.f);
    text += buf;
  }
  return text;
}

// What the walk through the file gives, stated as overlaps: the samples that
// play a part are all but the last one (it only ever marks the end of its
// predecessor's cell); a point gets the mean of the samples whose cells
// overlap its own, provided one of them reaches beyond the top of the point's
// cell; otherwise it keeps its value. Valid for evenly spaced samples whose
// cell edges stay clear of the grid's cell edges (the cases below keep them
// at least 0.001 cm-1 apart, far above single-precision rounding).
std::vector<double> expected_factors(const std::vector<Sample>& s, double vstart, double grid, int npts) {
  std::vector<double> factor(static_cast<std::size_t>(npts + 1), 1.0);
  if (s.size() < 2) return factor;
  const double h = (s[1].w - s[0].w) / 2.0;
  for (int j = 0; j <= npts; ++j) {
    const double lo = vstart + (j - 0.5) * grid;
    const double hi = vstart + (j + 0.5) * grid;
    double sum = 0.0;
    int count = 0;
    bool closed = false;
    for (std::size_t k = 0; k + 1 < s.size(); ++k) {
      if (s[k].w + h > lo && s[k].w - h < hi) {
        sum += s[k].f;
        ++count;
        closed = closed || s[k].w + h > hi;
      }
    }
    if (count > 0 && closed) factor[static_cast<std::size_t>(j)] = sum / count;
  }
  return factor;
}

struct Case {
  const char* name;
  double w0, step;
  int count;
  float vstart, grid;
  int npts;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class SolarWalk : public ::testing::TestWithParam<Case> {};

TEST_P(SolarWalk, MultipliesAllGasesByTheCellMeans) {
  const Case& c = GetParam();
  const std::vector<Sample> s = samples(c.w0, c.step, c.count);
  WorkDir dir;
  dir.write("solar.dat", solar_file(s));
  std::vector<double> all(static_cast<std::size_t>(c.npts + 1), 0.8);
  std::vector<double> scaled(static_cast<std::size_t>(c.npts + 1), 0.6);
  apply(all, scaled, dir.path().string() + "/    ", tesk::IntervalGrid{c.vstart, 0.0f, c.grid, c.npts});
  const std::vector<double> factor = expected_factors(s, static_cast<double>(c.vstart), static_cast<double>(c.grid), c.npts);
  int multiplied = 0;
  for (int j = 0; j <= c.npts; ++j) {
    SCOPED_TRACE(j);
    EXPECT_NEAR(all[static_cast<std::size_t>(j)], 0.8 * factor[static_cast<std::size_t>(j)], 1e-6);  // single-precision samples and means
    EXPECT_NEAR(scaled[static_cast<std::size_t>(j)], 0.6 * factor[static_cast<std::size_t>(j)], 1e-6);
    multiplied += factor[static_cast<std::size_t>(j)] != 1.0;
  }
  EXPECT_GT(multiplied, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SolarWalk,
    ::testing::Values(
        // several consecutive points share one sample; points on a sample edge average two
        Case{"Coarser", 1000.0, 0.05, 40, 1000.105f, 0.01f, 100},
        // several samples averaged per point
        Case{"Finer", 1000.0, 0.002, 800, 1000.105f, 0.01f, 120},
        // the first points lie below the first sample (and the discarded first
        // record) and keep their values
        Case{"StartsInsideTheInterval", 1000.3, 0.004, 300, 1000.002f, 0.01f, 100},
        // the file ends inside the interval: the rest stays unmultiplied
        Case{"Short", 1000.0, 0.05, 5, 1000.005f, 0.01f, 40}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// A run keeps the samples it has read for its next interval: each interval
// gets what a reading of the file from its start gives, whichever came first.
TEST(SolarSpectrum, SamplesKeptForTheNextInterval) {
  WorkDir dir;
  dir.write("solar.dat", solar_file(samples(1000.0, 0.013, 400)));
  const std::string inpath = dir.path().string() + "/";
  const tesk::IntervalGrid first{1000.5f, 0.0f, 0.01f, 150};
  const tesk::IntervalGrid second{1002.0f, 0.0f, 0.01f, 150};
  const tesk::IntervalGrid before{1000.1f, 0.0f, 0.01f, 20};
  tesk::SolarSpectrum sun(tesk::solar_file_source(inpath));
  for (const tesk::IntervalGrid& g : {first, second, before, first}) {
    std::vector<double> kept(151, 0.9);
    std::vector<double> fresh(151, 0.9);
    tesk::apply_solar_spectrum(sun, kept, {}, g);
    apply(fresh, {}, inpath, g);
    EXPECT_EQ(kept, fresh);
    EXPECT_NE(kept, std::vector<double>(151, 0.9));
  }
}

TEST(SolarSpectrum, FileWithoutTwoSamplesChangesNothing) {
  WorkDir dir;
  for (const std::string& text : {std::string(""), std::string("0 1\n"), std::string("0 1\n1000.0 0.5\n")}) {
    SCOPED_TRACE(text);
    dir.write("solar.dat", text);
    std::vector<double> all(11, 0.7);
    apply(all, {}, dir.path().string() + "/", tesk::IntervalGrid{1000.0f, 0.0f, 0.01f, 10});
    for (double v : all) EXPECT_EQ(v, 0.7);
  }
}

TEST(SolarSpectrum, MissingFileIsARecordError) {
  WorkDir dir;
  std::vector<double> all(3, 1.0);
  EXPECT_THROW(apply(all, {}, dir.path().string() + "/", tesk::IntervalGrid{1000.0f, 0.0f, 0.01f, 2}),
               rec::RecordError);
}

TEST(SolarSpectrum, RealSolarFileOnTheProgramsGrid) {
  const std::filesystem::path data(LF_SHARED_DATA);
  if (!std::filesystem::exists(data / "solar.dat")) GTEST_SKIP() << "shared data directory with solar.dat not found";
  std::ifstream in(data / "solar.dat");
  std::vector<Sample> s;
  double w = 0.0;
  double f = 0.0;
  in >> w >> f;  // header pair
  while (in >> w >> f && w < 2002.0) s.push_back({w, f});
  ASSERT_GT(s.size(), 100u);

  const float vstart = 2000.005f;
  const float grid = 0.01f;
  const int npts = 150;
  std::vector<double> all(npts + 1, 1.0);
  apply(all, {}, data.string() + "/", tesk::IntervalGrid{vstart, 0.0f, grid, npts});
  const std::vector<double> factor = expected_factors(s, static_cast<double>(vstart), static_cast<double>(grid), npts);
  for (int j = 0; j <= npts; ++j) {
    SCOPED_TRACE(j);
    EXPECT_NEAR(all[static_cast<std::size_t>(j)], factor[static_cast<std::size_t>(j)], 1e-6);
    EXPECT_GT(all[static_cast<std::size_t>(j)], 0.0);
    EXPECT_LE(all[static_cast<std::size_t>(j)], 1.0001);
  }
}

}  // namespace
