#include "tesk/run/window_information.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "path_run_fixture.hpp"
#include "tesk/run/setup.hpp"
#include "tesk/run/spectral_run.hpp"
#include "tesk/tables/solar_file.hpp"

namespace {

using testing_support::WorkDir;

// A kernel study of 2000.1-2000.9 cm-1 (161 points at 0.005 cm-1) on the
// three CO lines and one CO2 line of the end-to-end tests.
std::unique_ptr<tesk::RunState> kernel_state(const WorkDir& dir, char transrad, float resol) {
  auto state = run_test::make_state(dir, 'g', 30.0f, 0);
  tesk::Deck& d = state->deck;
  d.study = tesk::Study::kernels;
  d.gasname = "co     ";
  d.linefile = (dir.path() / "lines.hit").string();
  d.nrec = 4;
  d.solar = false;
  d.transrad = static_cast<tesk::Quantity>(transrad);  // the enumerators carry the deck letters
  d.radunits = tesk::Units::radiance;
  d.norm = tesk::Normalisation::normalised;
  d.tback = 300.0f;
  d.vlo = 2000.1f;
  d.vhi = 2000.9f;
  d.grid = 0.005f;
  d.resol = resol;
  d.noise = 0.001f;
  d.apriori_sigma = 1e-7f;
  d.wing_threshold = 1.0e-12f;
  const std::string out = dir.path().string() + "/";
  state->names = tesk::compose_names(out);
  dir.write("lines.hit", e2e::default_lines());
  state->setup = tesk::spectrum_setup(d);
  state->sun.emplace(tesk::solar_file_source(d.inpath));
  return state;
}

TEST(WindowInformation, NoWindowsAndAWindowTooWide) {
  WorkDir dir;
  auto state = kernel_state(dir, 'a', 0.0f);
  state->deck.study = tesk::Study::line_finding;
  std::ostringstream out;
  rec::Console console(out);

  // A table76 without windows: the heading of table79 (what it was computed
  // with, then the columns) and no kernels.
  dir.write("table76", "name     cm-1     window \r\n");
  tesk::window_information(*state, console);
  EXPECT_EQ(dir.read("table79"), testing_support::crlf_lines({"range      .200010000E+04   .200090000E+04",
                                                              "grid       .500000000E-02",
                                                              "max-opd    .000000000E+00",
                                                              "fov        .000000000E+00",
                                                              "noise      .100000000E-02",
                                                              "target   co        0",
                                                              "name     cm-1     window points   dofs  zlow zhigh    noise%   smooth%   interf%     temp%    total%"}));
  EXPECT_EQ(dir.read("table80"), testing_support::crlf_lines({" 3   2", " Averaging kernels ", ""}));
  EXPECT_EQ(testing_support::split_lines(out.str()),
            (std::vector<std::string>{"No microwindows: no information content",
                                      "Table79 (information content of the m-windows)",
                                      "Table80 (averaging kernels of all m-windows)"}));

  // 150.01 cm-1 are 30002 grid steps (its edges on the grid), more than an
  // interval holds: the run stops before any window is computed.
  dir.write("table76", "name     cm-1     window \r\nco       2000.50    .20\r\nco       2100.00 150.01\r\n");
  std::remove((dir.path() / "table79").c_str());
  try {
    tesk::window_information(*state, console);
    ADD_FAILURE() << "no stop";
  } catch (const rec::Stop& s) {
    EXPECT_EQ(std::string(s.what()), tesk::kTooManyPoints);
    EXPECT_EQ(s.detail(), " The window at 2100 cm-1 needs 30002 grid steps with the spectrum around it; at most 30000 are "
                          "allowed: narrow the windows (line 41) or coarsen the grid (line 28).");
  }
  EXPECT_FALSE(dir.exists("table79"));
}

}  // namespace
