#include "tesk/run/window_information.hpp"

#include <algorithm>
#include <cassert>
#include <string>

#include "common/nint.hpp"
#include "tesk/kernels/information_content.hpp"
#include "tesk/tables/kernel_table.hpp"
#include "tesk/kernels/weighting_functions.hpp"
#include "tesk/run/path_setup.hpp"
#include "tesk/run/setup.hpp"
#include "tesk/run/spectral_run.hpp"

namespace tesk {
namespace {

const rec::Format kWindowLine("(' Window ',a8,1x,f7.2,' cm-1:',i7,' points,',f7.3,' degrees of freedom')");
const rec::Format kWindowSingular("(' Window ',a8,1x,f7.2,' cm-1:',i7,' points, matrices singular')");
const rec::Format kJointLine("(' All windows together:',i7,' points,',f7.3,' degrees of freedom')");
const rec::Format kJointSingular("(' All windows together:',i7,' points, matrices singular')");
const rec::Format kNoWindows("(' No microwindows: no information content')");
const rec::Format kTable79Done("(' Table79 (information content of the m-windows)')");
const rec::Format kTable80Done("(' Table80 (averaging kernels of all m-windows)')");

}  // namespace

std::pair<float, float> window_edges(const MicroWindow& w) {
  // In hundredths the edges are exact halves: 2 centre -+ width over 200.
  const long long centre = rec::nint(w.centre * 100.0f);
  const long long width = rec::nint(w.width * 100.0f);
  return {static_cast<float>(static_cast<double>(2 * centre - width) / 200.0),
          static_cast<float>(static_cast<double>(2 * centre + width) / 200.0)};
}

IntervalGrid range_grid(float vlo, float vhi, float grid) {
  IntervalGrid g;
  g.vstart = vlo;
  g.vend = vhi;
  g.grid = grid;
  g.npts = rec::nint((g.vend - g.vstart) / g.grid);
  return g;
}

bool add_range_information(const SpectrumSetup& s, const PathModel& m, std::span<const Segment> segments,
                           SolarSpectrum& sun, const IntervalGrid& g, inputs::LineList& list, const RangeWork& r,
                           int piece) {
  assert(piece >= 1 && piece <= kMaxKernelPoints);
  IntervalWork& w = r.work;
  w.grid = g;
  compute_interval_spectra(s, m, sun, g, list, w);
  const double f = normalisation_factor(w.spec, g.npts, s.normalisation);
  const int nseg = static_cast<int>(segments.size());
  for (int first = 0; first <= g.npts; first += piece) {
    const int count = std::min(piece, g.npts + 1 - first);
    weighting_function_rows(s, g, w.spec, w.ext, segments, f, PointRange{first, count}, w.k);
    if (!add_information(nseg, count, w.k, s.retrieval.noise, r.info)) return false;
  }
  return true;
}

void window_information(RunState& state, rec::Console& console) {
  const std::vector<MicroWindow> windows = read_microwindows(state.names.table76);
  if (state.segments.empty()) {  // a sort run has no path yet
    set_up_path(state);
    state.segments = path_segments(state.setup, PathModel{state.atm, state.path});
  }
  const std::span<const Segment> segments = state.segments;
  const int nseg = static_cast<int>(segments.size());
  const float grid = state.deck.grid;
  for (const MicroWindow& w : windows) {
    const auto [lo, hi] = window_edges(w);
    const int steps = range_grid(lo, hi, grid).npts;
    if (steps > kMaxIntervalSteps) {
      rec::stop(kTooManyPoints, " The window at " + rec::plain_number(w.centre) + " cm-1 needs " + std::to_string(steps) +
                                    " grid steps; at most " + std::to_string(kMaxIntervalSteps) +
                                    " are allowed: narrow the windows (line 41) or coarsen the grid (line 28).");
    }
  }

  const Deck& deck = state.deck;
  InformationTable table79(state.names.table79, InformationOrigin{deck.vlo, deck.vhi, deck.grid, deck.resol,
                                                                  deck.fovrad, deck.noise, deck.gasname,
                                                                  deck.isotope});
  InformationWork work;
  Matrix window_info(kMaxLevels, kMaxLevels);
  Matrix joint_info(kMaxLevels, kMaxLevels);
  Matrix a = make_kernel_matrix();
  clear_information(nseg, joint_info);
  bool joint_formed = false;
  int joint_points = 0;
  float joint_lo = 0.0f;
  float joint_hi = 0.0f;
  {
    const SpectrumSetup setup = kernel_study_setup(state.setup);
    const PathModel model{state.atm, state.path};
    const Deck& d = state.deck;
    inputs::LineList list(d.linefile, d.reclen, d.nrec, letter_of(d.dbtype));
    for (std::size_t n = 0; n < windows.size(); ++n) {
      const MicroWindow& w = windows[n];
      const auto [lo, hi] = window_edges(w);
      const IntervalGrid g = range_grid(lo, hi, grid);
      const int points = g.npts + 1;
      clear_information(nseg, window_info);
      InformationContent c;
      c.singular = !add_range_information(setup, model, segments, *state.sun, g, list,
                                          RangeWork{state.work, window_info});
      if (!c.singular) {
        c = information_content(window_info, setup.retrieval.apriori_sigma, segments, work, a);
        // The noise of different windows is independent too: their information adds.
        for (int i = 1; i <= nseg; ++i) {
          for (int j = 1; j <= nseg; ++j) joint_info(i, j) += window_info(i, j);
        }
        joint_formed = true;
      }
      table79.row(w.label, w.centre, w.width, points, c);
      if (c.singular) {
        console.write(kWindowSingular, {w.label, w.centre, points});
      } else {
        console.write(kWindowLine, {w.label, w.centre, points, c.dofs});
      }
      joint_points += points;
      joint_lo = n == 0 ? lo : std::min(joint_lo, lo);
      joint_hi = n == 0 ? hi : std::max(joint_hi, hi);
    }
  }

  InformationContent joint;
  joint.singular = true;
  if (joint_formed) joint = information_content(joint_info, state.setup.retrieval.apriori_sigma, segments, work, a);
  if (windows.empty()) {
    console.write(kNoWindows);
  } else {
    table79.row(kAllWindowsLabel, (joint_lo + joint_hi) / 2.0f, joint_hi - joint_lo, joint_points, joint);
    if (joint.singular) {
      console.write(kJointSingular, {joint_points});
    } else {
      console.write(kJointLine, {joint_points, joint.dofs});
    }
  }
  table79.close();
  console.write(kTable79Done);
  // Without kernels of all windows the table keeps its header lines only.
  write_kernel_file(state.names.table80, a, joint.singular ? std::span<const Segment>() : segments);
  console.write(kTable80Done);
}

}  // namespace tesk
