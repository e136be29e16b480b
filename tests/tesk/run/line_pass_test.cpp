#include "tesk/run/line_pass.hpp"

#include <gtest/gtest.h>
#include <omp.h>

#include <cstring>
#include <string>
#include <vector>

#include "path_run_fixture.hpp"
#include "tesk/run/setup.hpp"

namespace {

using testing_support::WorkDir;

// Runs the line pass of the interval 2000-2001 cm-1 (0.005 cm-1) over `lines`
// and returns the state that holds its optical depths.
std::unique_ptr<tesk::RunState> pass(const WorkDir& dir, const std::string& lines, tesk::Study study,
                                     char dbtype = 'h', tesk::ProfileWalk walk = tesk::ProfileWalk::blocked) {
  auto state = run_test::make_state(dir, 'g', 30.0f, 0);
  state->deck.study = study;
  state->deck.dbtype = static_cast<tesk::LineDatabase>(dbtype);  // the enumerators carry the deck letters
  tesk::set_up_path(*state);
  dir.write("lines.hit", lines);
  const std::string path = (dir.path() / "lines.hit").string();
  inputs::LineList list(path, 101, inputs::count_records(path), dbtype);
  tesk::IntervalGrid& g = state->work.grid;
  g = tesk::IntervalGrid{2000.0f, 2001.0f, 0.005f, 200};
  for (int c = 1; c <= 2; ++c) {
    for (int l = 1; l <= 80; ++l) {
      auto row = state->work.ext.row(c, l, g.npts);
      std::fill(row.begin(), row.end(), 0.0);
    }
  }
  tesk::add_interval_lines(tesk::spectrum_setup(state->deck), tesk::PathModel{state->atm, state->path}, g, list,
                           state->work.ext, state->work.lines, walk);
  return state;
}

double depth(const tesk::RunState& s, int c, int l, int j) { return s.work.ext(c, l, j); }

const std::string kCo = e2e::line_record(5, 1, 2000.2, 2e-19) + e2e::line_record(5, 2, 2000.8, 5e-20);
const std::string kCo2 = e2e::line_record(2, 1, 2000.45, 1e-21);

TEST(LinePass, TargetAndOtherLinesGoToTheirOwnClasses) {
  WorkDir dir;
  const auto both = pass(dir, e2e::line_record(5, 1, 2000.2, 2e-19) + kCo2 + e2e::line_record(5, 2, 2000.8, 5e-20),
                         tesk::Study::spectra);
  const auto target = pass(dir, kCo, tesk::Study::spectra);
  const auto other = pass(dir, kCo2, tesk::Study::spectra);
  for (int l : {1, 30, 80}) {
    for (int j : {0, 40, 90, 160, 200}) {
      SCOPED_TRACE(std::to_string(l) + " " + std::to_string(j));
      // Each class receives its own lines in list order: the same bits.
      EXPECT_EQ(depth(*both, 1, l, j), depth(*target, 1, l, j));
      EXPECT_EQ(depth(*both, 2, l, j), depth(*other, 2, l, j));
      EXPECT_EQ(depth(*target, 2, l, j), 0.0);
      EXPECT_EQ(depth(*other, 1, l, j), 0.0);
    }
  }
  EXPECT_GT(depth(*target, 1, 1, 40), depth(*target, 1, 1, 0));  // the line at 2000.2 is point 40
}

TEST(LinePass, DifferenceStudiesCountTheTargetOnlyInItsLayers) {
  WorkDir dir;
  const auto spectra = pass(dir, kCo, tesk::Study::spectra);
  const auto finding = pass(dir, kCo, tesk::Study::line_finding);  // target layer 0-10 km
  for (int j : {0, 40, 160}) {
    SCOPED_TRACE(j);
    EXPECT_EQ(depth(*finding, 1, 10, j), depth(*spectra, 1, 10, j));  // 9.5 km: inside
    EXPECT_EQ(depth(*finding, 2, 10, j), 0.0);
    EXPECT_EQ(depth(*finding, 1, 11, j), 0.0);  // 10.5 km: above the target layer
    EXPECT_EQ(depth(*finding, 2, 11, j), depth(*spectra, 1, 11, j));
  }
}

TEST(LinePass, OnlyLinesWithinTheMarginAndOfKnownGasesAreRead) {
  WorkDir dir;
  // The margin is 1 cm-1: 1998.9 and 2002.1 lie beyond it. A type-a list may
  // carry gas numbers without a mixing ratio (0 and above 120).
  const std::string lines = e2e::line_record(5, 1, 1998.9, 1e-19) + e2e::line_record(5, 1, 1999.5, 1e-19) +
                            e2e::line_record(0, 1, 2000.3, 1e-19) + kCo2 + e2e::line_record(5, 1, 2001.9, 1e-19) +
                            e2e::line_record(5, 1, 2002.1, 1e-19);
  const auto state = pass(dir, lines, tesk::Study::spectra, 'a');
  std::vector<double> positions;
  for (const auto& line : state->work.lines) positions.push_back(line.position);
  EXPECT_EQ(positions, (std::vector<double>{1999.5, 2000.45, 2001.9}));
}

// The layers run on several threads and the profiles are walked in blocks;
// neither may change a bit of the optical depths: one thread walking point
// by point gives the reference.
TEST(LinePass, SameDepthsForAnyThreadCountAndEitherWalk) {
  WorkDir dir;
  // Inside lines, and lines within the margin on both sides.
  const std::string lines = e2e::line_record(5, 1, 1999.5, 1e-19) + e2e::line_record(5, 1, 2000.2, 2e-19) + kCo2 +
                            e2e::line_record(5, 2, 2000.8, 5e-20) + e2e::line_record(2, 1, 2000.9, 3e-21) +
                            e2e::line_record(5, 1, 2001.9, 1e-19);
  const int threads_before = omp_get_max_threads();
  omp_set_num_threads(1);
  const auto reference = pass(dir, lines, tesk::Study::line_finding, 'h', tesk::ProfileWalk::plain);
  for (int threads : {1, 2, 3}) {
    SCOPED_TRACE(threads);
    omp_set_num_threads(threads);
    const auto blocked = pass(dir, lines, tesk::Study::line_finding);
    bool same = true;
    for (int c = 1; c <= 2; ++c) {
      for (int l = 1; l <= 80; ++l) {
        for (int j = 0; j <= 200; ++j) {
          const double a = depth(*reference, c, l, j), b = depth(*blocked, c, l, j);
          if (std::memcmp(&a, &b, sizeof a) != 0 && same) {
            ADD_FAILURE() << "class " << c << ", layer " << l << ", point " << j << ": " << a << " and " << b;
            same = false;
          }
        }
      }
    }
  }
  omp_set_num_threads(threads_before);
  EXPECT_GT(depth(*reference, 2, 1, 0), 0.0);  // the lines below the interval reach it
}

}  // namespace
