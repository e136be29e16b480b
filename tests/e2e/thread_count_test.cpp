// The number of threads must not change a byte of what a run writes: whole
// runs over two intervals with 1, 2 and 3 threads (OMP_NUM_THREADS), a
// transmission study with the solar spectrum and a field of view, a radiance
// study in brightness temperature, and a line-finding study to table76.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "spectral_fixture.hpp"

namespace {

using testing_support::WorkDir;

// CO and CO2 lines spread over 2000-2045 cm-1, two of them within the
// margin outside the range.
std::string spread_lines() {
  std::string lines;
  lines += e2e::line_record(5, 1, 1999.4, 1e-19);
  for (int i = 0; i < 9; ++i) {
    const double nu = 2000.0 + 5.0 * i;
    lines += e2e::line_record(5, 1 + i % 2, nu + 0.0123, 2e-19 / (1 + i));
    lines += e2e::line_record(2, 1, nu + 2.5, 1e-21);
  }
  lines += e2e::line_record(5, 1, 2045.6, 1e-19);
  return lines;
}

// A solar spectrum with weak absorption lines every 0.7 cm-1, every 0.01 cm-1.
std::string solar_file() {
  std::string s = " solar spectrum\n";
  char buf[64];
  for (int i = 0; i <= 4800; ++i) {
    const double w = 1998.0 + 0.01 * i;
    const double d = std::fmod(w, 0.7) - 0.35;
    std::snprintf(buf, sizeof buf, " %.3f %.6f\n", w, 1.0 - 0.2 * std::exp(-d * d / 0.002));
    s += buf;
  }
  return s;
}

// Every file the run wrote and its console, with the given thread count.
std::map<std::string, std::string> run_with_threads(const std::vector<std::pair<int, std::string>>& changes,
                                                    int threads) {
  WorkDir dir;
  auto deck = e2e::spectral_deck();
  for (const auto& [line, text] : changes) deck[static_cast<std::size_t>(line - 1)] = text;
  dir.write("input-vorne", e2e::deck_text(deck));
  dir.write("lines.hit", spread_lines());
  dir.write("solar.dat", solar_file());
  e2e::write_atmosphere(dir);
  const std::vector<std::string> inputs = {"input-vorne", "lines.hit", "solar.dat", "midlat.mod", "midlat.vmr"};

  ::setenv("OMP_NUM_THREADS", std::to_string(threads).c_str(), 1);
  const testing_support::ProgramResult r = dir.run(LF_TESK_BIN);
  ::unsetenv("OMP_NUM_THREADS");
  std::map<std::string, std::string> out{{"console", r.console}, {"status", std::to_string(r.status)}};
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    if (std::find(inputs.begin(), inputs.end(), name) == inputs.end()) out[name] = dir.read(name);
  }
  return out;
}

TEST(ThreadCount, SameBytesForOneTwoAndThreeThreads) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, std::string>> changes;
  };
  // Grid 0.001 cm-1: two intervals, 2000-2030 and 2030-2045 cm-1, and the
  // fine-grid threshold, so that most wings reach across the interval.
  const std::vector<std::pair<int, std::string>> range = {{17, "2000."}, {18, "2045."}, {28, "0.001"}};
  Case cases[] = {
      {"transmission, solar spectrum, field of view, scaled target", {{8, "y"}, {9, "i"}, {30, "50."}, {31, "0.003"}}},
      {"radiance as brightness temperature", {{12, "r"}, {13, "b"}, {30, "50."}}},
      {"line finding to table76", {{8, "y"}, {9, "d"}, {30, "50."}}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.changes.insert(c.changes.end(), range.begin(), range.end());
    const auto one = run_with_threads(c.changes, 1);
    ASSERT_EQ(one.at("status"), "0") << one.at("console");
    ASSERT_TRUE(one.count("table71"));
    EXPECT_GT(one.at("table71").size(), 45000u * 40u);  // both intervals were written
    if (std::string(c.name).starts_with("line finding")) {
      ASSERT_TRUE(one.count("table76"));
      ASSERT_TRUE(one.count("table79"));  // the information content runs on threads too
    }
    for (int threads : {2, 3}) {
      SCOPED_TRACE(threads);
      const auto more = run_with_threads(c.changes, threads);
      ASSERT_EQ(more.size(), one.size());
      for (const auto& [name, bytes] : one) {
        ASSERT_TRUE(more.count(name)) << name;
        EXPECT_TRUE(more.at(name) == bytes) << name << " differs";
      }
    }
  }
}

// The spectrum classes of an interval run in parallel, and a class that
// stops the run stops it with the message a loop in class order would meet
// first: a radiance spectrum with a negative background temperature gives the
// same message, status and files on any thread count; so does a field of view
// too wide for the convolution, which stops the run before its line pass.
TEST(ThreadCount, StopInTheSpectrumStepIsTheSameOnAnyThreadCount) {
  struct Case {
    std::vector<std::pair<int, std::string>> changes;
    const char* message;
  };
  const Case cases[] = {
      {{{12, "r"}, {16, "-10."}}, "Blackbody temperature is negative"},
      {{{30, "1."}, {31, "1000."}}, "Increase nuber of spectral points mp in Convolution"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const auto one = run_with_threads(c.changes, 1);
    EXPECT_EQ(one.at("status"), "1");
    EXPECT_NE(one.at("console").find(c.message), std::string::npos) << one.at("console");
    EXPECT_FALSE(one.count("table71"));  // a stopped run leaves no table
    for (int threads : {2, 3}) {
      SCOPED_TRACE(threads);
      EXPECT_TRUE(run_with_threads(c.changes, threads) == one);
    }
  }
}

}  // namespace
