#include "tesk/run/window_information.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "common/nint.hpp"
#include "tesk/kernels/apriori.hpp"
#include "tesk/kernels/retrieval_budget.hpp"
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

// The model atmosphere with every layer 1 K warmer.
Atmosphere warmer_by_one_kelvin(const Atmosphere& atm) {
  Atmosphere warm = atm;
  for (int l = 1; l <= warm.nlev; ++l) warm.temp(l) += 1.0f;
  return warm;
}

AprioriSpec apriori_spec(const PlanSettings& p, float apriori_sigma) {
  AprioriSpec a;
  a.kind = p.apriori;
  a.sigma = static_cast<double>(apriori_sigma);
  a.percent = static_cast<double>(p.apriori_percent);
  a.length_km = static_cast<double>(p.correlation_km);
  a.shape = p.correlation;
  return a;
}

// The target's column over the layers of the state, from the air in each
// layer of 1 km, with the uncertainties the retrieval does not fit.
ColumnModel column_model(const Atmosphere& atm, std::span<const Segment> layers, const PlanSettings& p) {
  ColumnModel c;
  const auto n = static_cast<Eigen::Index>(layers.size());
  c.partial_air.resize(n);
  c.profile.resize(n);
  for (Eigen::Index i = 0; i < n; ++i) {
    const Segment& l = layers[static_cast<std::size_t>(i)];
    c.partial_air(i) = static_cast<double>(atm.column(l.layer));
    c.profile(i) = static_cast<double>(l.target_vmr);
  }
  c.interferer_fraction = static_cast<double>(p.interferer_percent) / 100.0;
  c.temperature_kelvin = static_cast<double>(p.temperature_kelvin);
  return c;
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

void window_information(RunState& state, rec::Console& console) {
  const std::vector<MicroWindow> windows = read_microwindows(state.names.table76);
  if (state.segments.empty()) {  // a sort run has no path yet
    set_up_path(state);
    state.segments = path_segments(state.setup, PathModel{state.atm, state.path});
  }
  const SpectrumSetup setup = kernel_study_setup(state.setup);
  const float grid = state.deck.grid;
  check_window_lengths(windows, setup.instrument, grid);

  const Deck& deck = state.deck;
  InformationTable table79(state.names.table79, InformationOrigin{deck.vlo, deck.vhi, deck.grid, deck.resol,
                                                                  deck.fovrad, deck.noise, deck.gasname,
                                                                  deck.isotope});
  const std::vector<Segment> layers = state_layers(state.segments);
  const Atmosphere warm = warmer_by_one_kelvin(state.atm);
  const DerivativeModels models{PathModel{state.atm, state.path}, PathModel{warm, state.path}, state.segments,
                                layers};
  const Eigen::MatrixXd sa = apriori_covariance(apriori_spec(state.plan, deck.apriori_sigma), layers);
  const ColumnModel column = column_model(state.atm, layers, state.plan);
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
    for (std::size_t n = 0; n < windows.size(); ++n) {
      const MicroWindow& w = windows[n];
      const auto [lo, hi] = window_edges(w);
      const IntervalGrid g = range_grid(lo, hi, grid);
      const int points = g.npts + 1;
      InformationRow r;
      r.singular = singular;
      if (!singular) {
        window_derivatives(setup, models, *state.sun, g, list, state.work, d);
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
