// What one run leaves for the next: a run that stops leaves every earlier file
// as it was, an output that is one of the run's inputs is refused, a second
// run in a directory is refused while the first holds it, and inputs that are
// no regular file or deck values beyond the transform end cleanly. Each case
// is a sequence of runs in one directory.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "bad_input_fixture.hpp"
#include "spectral_fixture.hpp"

namespace {

namespace fs = std::filesystem;
using testing_support::split_lines;
using testing_support::WorkDir;

std::vector<std::string> deck(char runmode, char study) { return e2e::spectral_deck(runmode, study); }

testing_support::ProgramResult run_tesk(const WorkDir& dir, const std::vector<std::string>& d) {
  dir.write("input-vorne", e2e::deck_text(d));
  return dir.run(LF_TESK_BIN);
}

std::string last_line(const std::string& console) {
  const auto lines = split_lines(console);
  return lines.empty() ? std::string() : lines.back();
}

// Names in the directory that start with a dot, the lock file aside: a
// temporary a stopped run failed to remove.
std::vector<std::string> leftovers(const WorkDir& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir.path())) {
    const std::string name = e.path().filename().string();
    if (name[0] == '.' && name != ".run.lock" && name != ".console") names.push_back(name);
  }
  return names;
}

// The text with the run-mode letter of its deck echo (record 5) blanked: the
// line tables copy the echo's first records.
std::string without_run_mode(std::string text) {
  std::size_t at = 0;
  for (int record = 1; record < 5 && at != std::string::npos; ++record) at = text.find('\n', at) + 1;
  if (at != std::string::npos && at < text.size()) text[at] = ' ';
  return text;
}

const std::vector<std::string> kLineTables = {"table70", "table71", "table72", "table73",
                                              "table74", "table75", "table76", "output"};

TEST(RunFiles, FailedCompleteRunThenDisplayRunThenSortRun) {
  WorkDir dir;
  dir.write("lines.hit", e2e::default_lines());
  e2e::write_atmosphere(dir);
  ASSERT_EQ(run_tesk(dir, deck('c', 'd')).status, 0);
  std::vector<std::string> good;
  for (const auto& t : kLineTables) good.push_back(dir.read(t));
  // The echo: every deck line as exactly 200 characters ended by CR LF,
  // then the settings of the information step, here its defaults.
  std::string echo;
  for (std::string line : deck('c', 'd')) echo += line.append(200 - line.size(), ' ') + "\r\n";
  echo += testing_support::crlf_lines({" input-plan (not found: defaults)", "apriori = absolute",
                                       "apriori_percent = 50", "correlation_length = 0",
                                       "correlation_shape = exponential", "interferer_error = 5",
                                       "temperature_error = 2", "windows = 10", "select_by = error",
                                       "stop_fraction = 0.01"});
  ASSERT_EQ(good.back(), echo);

  // A missing atmosphere file: the run stops and every table stays as it was.
  fs::rename(dir.path() / "midlat.vmr", dir.path() / "midlat.keep");
  const auto failed = run_tesk(dir, deck('c', 'd'));
  EXPECT_EQ(failed.status, 2) << failed.console;
  for (std::size_t k = 0; k < kLineTables.size(); ++k) EXPECT_EQ(dir.read(kLineTables[k]), good[k]) << kLineTables[k];
  EXPECT_TRUE(leftovers(dir).empty());
  fs::rename(dir.path() / "midlat.keep", dir.path() / "midlat.vmr");

  // A display run on another grid computes nothing: the echo still says
  // what the tables were made with.
  auto display = deck('d', 'd');
  display[27] = "0.01";
  ASSERT_EQ(run_tesk(dir, display).status, 0);
  EXPECT_EQ(dir.read("output"), good.back());

  // The sort run finds the same windows as the good run did.
  ASSERT_EQ(run_tesk(dir, deck('s', 'd')).status, 0);
  for (std::size_t k = 1; k + 1 < kLineTables.size(); ++k) {
    EXPECT_EQ(without_run_mode(dir.read(kLineTables[k])), without_run_mode(good[k])) << kLineTables[k];
  }
}

TEST(RunFiles, LineListNamedLikeATableOrLinkedFromOne) {
  WorkDir dir;
  const std::string lines = e2e::default_lines();
  dir.write("table80", lines);
  e2e::write_atmosphere(dir);
  auto d = deck('c', 'd');
  d[1] = "table80";
  auto r = run_tesk(dir, d);
  EXPECT_EQ(r.status, 2) << r.console;
  EXPECT_EQ(last_line(r.console),
            " Output file table80 is the input table80 of this run (the same file): it is not replaced");
  EXPECT_EQ(dir.read("table80"), lines);

  // table71 a symbolic link to the line list: the same file, refused.
  fs::rename(dir.path() / "table80", dir.path() / "lines.hit");
  fs::create_symlink("lines.hit", dir.path() / "table71");
  r = run_tesk(dir, deck('c', 's'));
  EXPECT_EQ(r.status, 2) << r.console;
  EXPECT_EQ(last_line(r.console),
            " Output file table71 is the input lines.hit of this run (the same file): it is not replaced");
  EXPECT_EQ(dir.read("lines.hit"), lines);
  EXPECT_TRUE(fs::is_symlink(dir.path() / "table71"));
  EXPECT_FALSE(dir.exists("table70"));
}

// kormal on windows of the spectral fixture's CO lines; the pause letter `pause`.
void write_kormal_inputs(const WorkDir& dir, const std::string& windows, const std::string& pause = "n") {
  if (!dir.exists("lines.hit")) {
    dir.write("lines.hit", e2e::default_lines());
    e2e::write_atmosphere(dir);
  }
  dir.write("table76", "name     cm-1     window \n" + windows);
  dir.write("input-kormal", e2e::deck_text({"lines.hit", "table76", " ", " ", "hitran 101", "0", "m", "0.0", "n", "8",
                                            "0.", "0.01", "d", pause, "n"}));
}

TEST(RunFiles, KormalStoppedAtAWindowKeepsTheEarlierReports) {
  WorkDir dir;
  write_kormal_inputs(dir, "co       2000.20    .30\nco       2000.60    .30\n");
  const auto good = dir.run(LF_KORMAL_BIN);
  ASSERT_EQ(good.status, 0) << good.console;
  const std::string output = dir.read("output.dat"), microwin = dir.read("microwin");
  const std::string spectra = dir.read("spectra.out");

  write_kormal_inputs(dir, "co       2000.80    .30\nco       20x0.60    .30\n");
  const auto r = dir.run(LF_KORMAL_BIN);
  EXPECT_EQ(r.status, 2) << r.console;
  EXPECT_EQ(dir.read("output.dat"), output);
  EXPECT_EQ(dir.read("microwin"), microwin);
  EXPECT_EQ(dir.read("spectra.out"), spectra);
  EXPECT_TRUE(leftovers(dir).empty());
}

TEST(RunFiles, SecondRunWhileKormalHoldsTheDirectory) {
  WorkDir dir;
  write_kormal_inputs(dir, "co       2000.20    .30\n", "s");
  // kormal pauses after its window, waiting for enter on the pipe. Its console
  // goes to a file of its own: the one WorkDir::run captures is tesk's.
  const std::string command = "cd '" + dir.path().string() + "' && exec " + LF_KORMAL_BIN + " > .kormal.console 2>&1";
  std::FILE* keyboard = ::popen(command.c_str(), "w");
  ASSERT_NE(keyboard, nullptr);
  std::string holder;
  for (int i = 0; i < 200 && holder.find("kormal") == std::string::npos; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (dir.exists(".run.lock")) holder = dir.read(".run.lock");
  }
  if (holder.find("kormal, process ") == std::string::npos) {
    std::fputs("\n", keyboard);
    ::pclose(keyboard);
    FAIL() << "kormal did not hold the directory: " << dir.read(".kormal.console");
  }
  const auto r = run_tesk(dir, deck('c', 's'));
  EXPECT_EQ(r.status, 2) << r.console;
  EXPECT_EQ(last_line(r.console), " Directory . is in use by another run (" + holder.substr(0, holder.size() - 1) +
                                      "): it holds ./.run.lock");
  EXPECT_FALSE(dir.exists("output"));
  std::fputs("\n", keyboard);
  const int status = ::pclose(keyboard);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(dir.exists("output.dat"));
}

TEST(RunFiles, FifoLineListIsRefusedWithoutWaiting) {
  WorkDir dir;
  e2e::write_atmosphere(dir);
  ASSERT_EQ(::mkfifo((dir.path() / "lines.hit").c_str(), 0600), 0);
  auto d = deck('c', 's');
  d[6] = "3";  // not counted: the list is first opened by the spectral run
  dir.write("input-vorne", e2e::deck_text(d));
  const auto r = bad_input::run_bounded(dir, LF_TESK_BIN);
  ASSERT_TRUE(r.exited) << "signal " << r.signal << (r.timed_out ? ", timed out" : "");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(bad_input::last_line(r.console), " Cannot read file lines.hit: it is a FIFO, not a regular file");
  EXPECT_FALSE(dir.exists("table71"));
}

TEST(RunFiles, PathDifferenceBeyondTheTransform) {
  WorkDir dir;
  dir.write("lines.hit", e2e::default_lines());
  e2e::write_atmosphere(dir);
  auto d = deck('c', 's');
  d[29] = "1.e9";  // 2 N grid resol passes the int range on this grid
  dir.write("input-vorne", e2e::deck_text(d));
  const auto r = bad_input::run_bounded(dir, LF_TESK_BIN);
  ASSERT_TRUE(r.exited) << "signal " << r.signal;
  EXPECT_EQ(r.status, 0) << r.console;
  // Nothing is cut from the interferogram: every transmission stays in 0..1.
  const auto table = e2e::read_table(dir.read("table71"));
  ASSERT_EQ(table.rows.size(), 201u);
  for (const auto& row : table.rows) {
    EXPECT_GE(row[1], 0.0);
    EXPECT_LE(row[1], 1.0);
  }
}

}  // namespace
