// The settings file input-plan in whole runs: a line-finding run that finds
// a wrong entry stops before it writes anything, as --check-deck does; a
// good file and a missing one are said on the console and echoed at the end
// of output; runs of other studies and display runs do not read it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "common/run_files.hpp"
#include "spectral_fixture.hpp"

namespace {

namespace fs = std::filesystem;
using testing_support::split_lines;
using testing_support::WorkDir;

const std::set<std::string> kInputs = {"input-vorne", "input-plan", "lines.hit", "midlat.mod", "midlat.vmr"};

void write_inputs(const WorkDir& dir, char runmode, char study, const std::string& plan) {
  dir.write("input-vorne", e2e::deck_text(e2e::spectral_deck(runmode, study)));
  dir.write("lines.hit", e2e::default_lines());
  e2e::write_atmosphere(dir);
  if (!plan.empty()) dir.write("input-plan", plan);
}

// The files in the directory other than the lock that keeps a second run out.
std::set<std::string> names_in(const WorkDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.path())) names.insert(entry.path().filename().string());
  names.erase(std::string(rec::kLockFileName));
  return names;
}

// The records of output after the deck's 46.
std::vector<std::string> echo_tail(const WorkDir& dir) {
  const auto lines = split_lines(dir.read("output"));
  EXPECT_GE(lines.size(), 46u);
  return {lines.begin() + std::min<std::ptrdiff_t>(46, static_cast<std::ptrdiff_t>(lines.size())), lines.end()};
}

TEST(PlanSettingsRun, AWrongEntryStopsBeforeAnyFile) {
  const std::string plan = "apriori = percent\ntemperature_error = -2   # K\n";
  const std::string message =
      " Wrong entry in line 2 of input-plan: temperature_error must be a number of 0 or more (K), found \"-2\"";
  for (char runmode : {'c', 's'}) {
    SCOPED_TRACE(runmode);
    WorkDir run_dir, check_dir;
    write_inputs(run_dir, runmode, 'd', plan);
    write_inputs(check_dir, runmode, 'd', plan);
    const auto run = run_dir.run(LF_TESK_BIN);
    const auto check = check_dir.run(LF_TESK_BIN, "--check-deck");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(split_lines(run.console).back(), message);
    EXPECT_EQ(names_in(run_dir), kInputs);
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.console, run.console);
  }
  // Only the line-finding study's complete and sort runs read it.
  for (auto [runmode, study] : {std::pair{'c', 's'}, std::pair{'d', 'd'}}) {
    WorkDir dir;
    write_inputs(dir, runmode, study, plan);
    const auto r = dir.run(LF_TESK_BIN);
    EXPECT_EQ(r.status, 0) << r.console;
    EXPECT_EQ(r.console.find("input-plan"), std::string::npos);
    EXPECT_EQ(dir.run(LF_TESK_BIN, "--check-deck").status, 0);
  }
}

TEST(PlanSettingsRun, TheValuesUsedEndTheEcho) {
  struct Case {
    std::string plan;
    std::string console_line;
    std::vector<std::string> tail;
  } cases[] = {
      {"", " No input-plan: the information step takes its defaults",
       {" input-plan (not found: defaults)", "apriori = absolute", "apriori_percent = 50", "correlation_length = 0",
        "correlation_shape = exponential", "interferer_error = 5", "temperature_error = 2",
        "windows = 10", "select_by = error", "stop_fraction = 0.01"}},
      {"# a percentage of the profile, correlated over 4 km\napriori = percent\napriori_percent = 20.\n"
       "correlation_length = 4\ncorrelation_shape = gaussian\ninterferer_error = 2.5e0\n",
       " Settings of the information step from input-plan",
       {" input-plan", "apriori = percent", "apriori_percent = 20", "correlation_length = 4",
        "correlation_shape = gaussian", "interferer_error = 2.5", "temperature_error = 2", "windows = 10",
        "select_by = error", "stop_fraction = 0.01"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.console_line);
    WorkDir dir;
    write_inputs(dir, 'c', 'd', c.plan);
    const auto r = dir.run(LF_TESK_BIN);
    ASSERT_EQ(r.status, 0) << r.console;
    const auto console = split_lines(r.console);
    // Once, after the memory line and its blank line.
    const auto at = std::find(console.begin(), console.end(), c.console_line);
    ASSERT_NE(at, console.end());
    EXPECT_EQ(std::count(console.begin(), console.end(), c.console_line), 1);
    ASSERT_GE(at - console.begin(), 2);
    EXPECT_TRUE((at - 2)->starts_with(" Program requires approx. "));
    EXPECT_EQ(*(at - 1), "");
    EXPECT_EQ(echo_tail(dir), c.tail);
    // A sort run on the same tables reads it again.
    dir.write("input-vorne", e2e::deck_text(e2e::spectral_deck('s', 'd')));
    const auto sort = dir.run(LF_TESK_BIN);
    ASSERT_EQ(sort.status, 0) << sort.console;
    EXPECT_NE(sort.console.find(c.console_line + "\r\n"), std::string::npos);
    EXPECT_EQ(echo_tail(dir), c.tail);
  }
}

}  // namespace
