#include "tesk/run/window_information.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "path_run_fixture.hpp"
#include "tesk/kernels/information_content.hpp"
#include "tesk/run/spectral_run.hpp"

namespace {

using testing_support::WorkDir;

// A kernel study of 2000.1-2000.9 cm-1 (161 points at 0.005 cm-1) on the
// three CO lines and one CO2 line of the end-to-end tests.
std::unique_ptr<tesk::RunState> kernel_state(const WorkDir& dir, char transrad, float resol) {
  auto state = run_test::make_state(dir, 'g', 30.0f, 0);
  tesk::Deck& d = state->deck;
  d.study = tesk::Study::kernels;
  d.linefile = (dir.path() / "lines.hit").string();
  d.linefile_len = static_cast<int>(d.linefile.size());
  d.nrec = 4;
  d.solar = 'n';
  d.transrad = transrad;
  d.radunits = 'r';
  d.norm = 'n';
  d.tback = 300.0f;
  d.vlo = 2000.1f;
  d.vhi = 2000.9f;
  d.grid = 0.005f;
  d.resol = resol;
  d.avkpar1 = 0.001f;
  d.avkpar2 = 1e-7f;
  d.wing_threshold = 1.0e-12f;
  const std::string out = dir.path().string() + "/";
  state->names = tesk::compose_names(out, static_cast<int>(out.size()) + 1);
  dir.write("lines.hit", e2e::default_lines());
  return state;
}

double information_dofs(tesk::RunState& state, const tesk::IntervalGrid& g, int piece, tesk::Matrix& info) {
  const tesk::Deck& d = state.deck;
  inputs::LineList list(d.line_list_path(), d.reclen, d.nrec, d.dbtype);
  tesk::clear_information(tesk::kMaxLevels, info);
  EXPECT_TRUE(tesk::add_range_information(state, g, list, info, piece));
  tesk::InformationWork work;
  tesk::Matrix a = tesk::make_kernel_matrix();
  const auto c = tesk::information_content(info, d.avkpar2, state.segments, work, a);
  EXPECT_FALSE(c.singular);
  return c.dofs;
}

TEST(WindowInformation, WindowGivesTheDegreesOfFreedomOfItsOwnKernelStudy) {
  struct Case {
    char transrad;
    float resol;
  } cases[] = {{'a', 0.0f}, {'r', 20.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.transrad);
    WorkDir dir;
    auto state = kernel_state(dir, c.transrad, c.resol);
    std::ostringstream out;
    rec::Console console(out);
    tesk::run_spectra(*state, console);
    double trace = 0.0;
    for (int i = 1; i <= 80; ++i) trace += state->work.avk(i, i);
    ASSERT_GT(trace, 0.01);

    // The window of table76 whose range the study had.
    const auto [lo, hi] = tesk::window_edges(tesk::MicroWindow{"co      ", 2000.50f, 0.80f});
    const tesk::IntervalGrid g = tesk::range_grid(lo, hi, state->deck.grid);
    ASSERT_EQ(g.vstart, state->work.grid.vstart);
    ASSERT_EQ(g.vend, state->work.grid.vend);
    ASSERT_EQ(g.npts, 160);

    tesk::Matrix one(tesk::kMaxLevels, tesk::kMaxLevels);
    tesk::Matrix cut(tesk::kMaxLevels, tesk::kMaxLevels);
    const double whole = information_dofs(*state, g, tesk::kMaxKernelPoints, one);
    EXPECT_DOUBLE_EQ(whole, trace);
    // Pieces of 70 points: 70 + 70 + 21. The normalisation is the whole window's.
    const double pieces = information_dofs(*state, g, 70, cut);
    EXPECT_NEAR(pieces, whole, 1e-10 * whole);
    for (int i = 1; i <= 80; i += 7) {
      for (int j = 1; j <= 80; j += 5) EXPECT_NEAR(cut(i, j), one(i, j), 1e-10 * std::fabs(one(i, j)));
    }
  }
}

TEST(WindowInformation, EdgesAreTheDecimalsOfTheTable) {
  struct Case {
    float centre, width;
    float lo, hi;
    int npts;  // at 0.002 cm-1
  } cases[] = {
      {2150.86f, 0.37f, 2150.675f, 2151.045f, 185},
      {2147.08f, 1.00f, 2146.58f, 2147.58f, 500},
      {2000.00f, 0.00f, 2000.0f, 2000.0f, 0},  // a window narrower than the table shows: one point
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.centre);
    const auto [lo, hi] = tesk::window_edges(tesk::MicroWindow{"co      ", c.centre, c.width});
    EXPECT_EQ(lo, c.lo);
    EXPECT_EQ(hi, c.hi);
    EXPECT_EQ(tesk::range_grid(lo, hi, 0.002f).npts, c.npts);
  }
}

}  // namespace
