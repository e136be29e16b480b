#include "tesk/run/window_information.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "common/nint.hpp"
#include "tesk/kernels/retrieval_budget.hpp"
#include "tesk/run/information_model.hpp"
#include "tesk/run/path_setup.hpp"
#include "tesk/run/setup.hpp"
#include "tesk/run/spectral_run.hpp"
#include "tesk/run/window_derivatives.hpp"
#include "tesk/tables/kernel_table.hpp"

namespace tesk {
namespace {

const rec::Format kWindowLine(
    "(' Window ',a8,1x,f7.2,' cm-1:',i7,' points,',f7.3,' degrees of freedom,',f9.3,' % column error')");
const rec::Format kWindowSingular("(' Window ',a8,1x,f7.2,' cm-1:',i7,' points, matrices singular')");
const rec::Format kJointLine(
    "(' All windows together:',i7,' points,',f7.3,' degrees of freedom,',f9.3,' % column error')");
const rec::Format kJointSingular("(' All windows together:',i7,' points, matrices singular')");
const rec::Format kNoWindows("(' No microwindows: no information content')");
const rec::Format kTable79Done("(' Table79 (information content of the m-windows)')");
const rec::Format kTable80Done("(' Table80 (averaging kernels of all m-windows)')");

// A kernel area above it marks an altitude the retrieval resolves.
constexpr float kResolvedArea = 0.5f;

// Stops before any window is computed when one, with the points around it
// that the instrument line shape needs, is longer than an interval may be.
void check_window_lengths(const std::vector<MicroWindow>& windows, const Instrument& ils, float grid) {
  for (const MicroWindow& w : windows) {
    const auto [lo, hi] = window_edges(w);
    const IntervalGrid g = range_grid(lo, hi, grid);
    const Padding pad = window_padding(ils, g);
    const int steps = g.npts + pad.below + pad.above;
    if (steps > kMaxIntervalSteps) {
      rec::stop(kTooManyPoints, " The window at " + rec::plain_number(w.centre) + " cm-1 needs " + std::to_string(steps) +
                                    " grid steps with the spectrum around it; at most " +
                                    std::to_string(kMaxIntervalSteps) +
                                    " are allowed: narrow the windows (line 41) or coarsen the grid (line 28).");
    }
  }
}

// The kernels as the kernel tables hold them, and the row of table79.
InformationRow row_of(const RetrievalBudget& b, std::span<const Segment> layers, Matrix& a) {
  const int n = static_cast<int>(layers.size());
  for (int i = 1; i <= n; ++i) {
    for (int j = 1; j <= n; ++j) a(i, j) = b.a(i - 1, j - 1);
  }
  InformationRow r;
  r.dofs = b.dofs;
  r.errors = b.errors;
  bool resolved = false;
  for (int i = 1; i <= n; ++i) {
    if (!(kernel_area(a, i, n) > kResolvedArea)) continue;
    const float z = layers[static_cast<std::size_t>(i - 1)].alt;
    r.zlow = resolved ? std::min(r.zlow, z) : z;
    r.zhigh = resolved ? std::max(r.zhigh, z) : z;
    resolved = true;
  }
  return r;
}

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

void set_up_information_path(RunState& state) {
  if (!state.segments.empty()) return;  // a sort run has no path yet
  set_up_path(state);
  state.segments = path_segments(state.setup, PathModel{state.atm, state.path});
}

void window_information(RunState& state, rec::Console& console) {
  set_up_information_path(state);
  const InformationModel model(state);
  window_information(state, model, console);
}

void window_information(RunState& state, const InformationModel& model, rec::Console& console) {
  const std::vector<MicroWindow> windows = read_microwindows(state.names.table76);
  const SpectrumSetup setup = kernel_study_setup(state.setup);
  const float grid = state.deck.grid;
  check_window_lengths(windows, setup.instrument, grid);

  const Deck& deck = state.deck;
  InformationTable table79(state.names.table79, InformationOrigin{deck.vlo, deck.vhi, deck.grid, deck.resol,
                                                                  deck.fovrad, deck.noise, deck.gasname,
                                                                  deck.isotope});
  const std::vector<Segment>& layers = model.layers();
  const Eigen::MatrixXd& sa = model.apriori();
  const ColumnModel& column = model.column();
  // Without noise Se has no inverse: nothing can be said of any window.
  const bool singular = setup.retrieval.noise == 0.0f;
  const auto nstate = static_cast<Eigen::Index>(layers.size());
  PointInformation joint(nstate);
  Matrix a = make_kernel_matrix();
  float joint_lo = 0.0f;
  float joint_hi = 0.0f;
  {
    inputs::LineList list(deck.linefile, deck.reclen, deck.nrec, letter_of(deck.dbtype));
    WindowDerivatives d;
    const LineBlocks blocks(deck.vlo, deck.grid);
    for (std::size_t n = 0; n < windows.size(); ++n) {
      const MicroWindow& w = windows[n];
      const auto [lo, hi] = window_edges(w);
      const IntervalGrid g = range_grid(lo, hi, grid);
      const int points = g.npts + 1;
      InformationRow r;
      r.singular = singular;
      if (!singular) {
        // The lines of the block of the window's centre, as the
        // recommended windows take them, and at least those of the window.
        LineReach reach = blocks.reach(blocks.at(w.centre));
        reach.from = std::min(reach.from, lo);
        reach.to = std::max(reach.to, hi);
        window_derivatives(setup, model.models(), *state.sun, g, list, state.work, d, reach);
        PointInformation info(nstate);
        add_points(d.k, d.interferer, d.temperature, d.sigma, info);
        r = row_of(retrieval_budget(info, sa, column), layers, a);
        joint += info;
      }
      table79.row(w.label, w.centre, w.width, points, r);
      if (r.singular) {
        console.write(kWindowSingular, {w.label, w.centre, points});
      } else {
        console.write(kWindowLine, {w.label, w.centre, points, r.dofs, r.errors.total});
      }
      joint.points += singular ? points : 0;
      joint_lo = n == 0 ? lo : std::min(joint_lo, lo);
      joint_hi = n == 0 ? hi : std::max(joint_hi, hi);
    }
  }

  InformationRow all;
  all.singular = singular;
  if (!windows.empty() && !singular) all = row_of(retrieval_budget(joint, sa, column), layers, a);
  const int joint_points = static_cast<int>(joint.points);
  if (windows.empty()) {
    console.write(kNoWindows);
  } else {
    table79.row(kAllWindowsLabel, (joint_lo + joint_hi) / 2.0f, joint_hi - joint_lo, joint_points, all);
    if (all.singular) {
      console.write(kJointSingular, {joint_points});
    } else {
      console.write(kJointLine, {joint_points, all.dofs, all.errors.total});
    }
  }
  table79.close();
  console.write(kTable79Done);
  // Without kernels of all windows the table keeps its header lines only.
  write_kernel_file(state.names.table80, a, all.singular || windows.empty() ? std::span<const Segment>() : layers);
  console.write(kTable80Done);
}

}  // namespace tesk
