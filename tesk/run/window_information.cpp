#include "tesk/run/window_information.hpp"

#include <algorithm>
#include <cassert>
#include <ostream>
#include <utility>

#include "common/nint.hpp"
#include "tesk/kernels/information_content.hpp"
#include "tesk/tables/kernel_table.hpp"
#include "tesk/kernels/weighting_functions.hpp"
#include "tesk/run/path_setup.hpp"
#include "tesk/run/spectral_run.hpp"

namespace tesk {
namespace {

constexpr std::string_view kWindowLine = "(' Window ',a8,1x,f7.2,' cm-1:',i7,' points,',f7.3,' degrees of freedom')";
constexpr std::string_view kWindowSingular = "(' Window ',a8,1x,f7.2,' cm-1:',i7,' points, matrices singular')";
constexpr std::string_view kJointLine = "(' All windows together:',i7,' points,',f7.3,' degrees of freedom')";
constexpr std::string_view kJointSingular = "(' All windows together:',i7,' points, matrices singular')";
constexpr std::string_view kNoWindows = "(' No microwindows: no information content')";
constexpr std::string_view kTable79Done = "(' Table79 (information content of the m-windows)')";
constexpr std::string_view kTable80Done = "(' Table80 (averaging kernels of all m-windows)')";

// Puts a kernel-study deck in place of the run's deck for as long as it
// lives. The line pass and the spectrum steps take their rules from the run
// state's deck, and the arrays they fill are too large to have twice.
class DeckSwap {
 public:
  DeckSwap(Deck& slot, Deck replacement) : slot_(slot), saved_(std::exchange(slot, std::move(replacement))) {}
  ~DeckSwap() { slot_ = std::move(saved_); }
  DeckSwap(const DeckSwap&) = delete;
  DeckSwap& operator=(const DeckSwap&) = delete;

 private:
  Deck& slot_;
  Deck saved_;
};

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

Deck kernel_study_deck(const Deck& d) {
  Deck a = d;
  a.study = Study::kernels;
  finish_deck(a);  // the wing threshold of the new study; the gas is mapped already
  return a;
}

bool add_range_information(RunState& state, const IntervalGrid& g, inputs::LineList& list, Matrix& info,
                           int piece) {
  assert(piece >= 1 && piece <= kMaxKernelPoints);
  const Deck& d = state.deck;
  IntervalWork& w = state.work;
  std::ostream nowhere(nullptr);  // the steps' progress lines are the kernel study's, not this step's
  rec::Console quiet(nowhere);
  w.grid = g;
  compute_interval_spectra(state, list, quiet);
  const double f = normalisation_factor(w.spec, g.npts, d.norm, quiet);
  const int nseg = static_cast<int>(state.segments.size());
  for (int first = 0; first <= g.npts; first += piece) {
    const int count = std::min(piece, g.npts + 1 - first);
    weighting_function_rows(w.k, w.spec, w.ext, state.segments, f, d.transrad, d.radunits, g, first, count,
                            d.tback);
    if (!add_information(nseg, count, w.k, d.avkpar1, info)) return false;
  }
  return true;
}

void window_information(RunState& state, rec::Console& console) {
  const std::vector<MicroWindow> windows = read_microwindows(state.names.table76);
  if (state.segments.empty()) {  // a sort run has no path yet
    set_up_path(state);
    state.segments = path_segments(state);
  }
  const std::span<const Segment> segments = state.segments;
  const int nseg = static_cast<int>(segments.size());
  const float grid = state.deck.grid;
  for (const MicroWindow& w : windows) {
    const auto [lo, hi] = window_edges(w);
    if (range_grid(lo, hi, grid).npts > kMaxIntervalSteps) rec::stop(kTooManyPoints);
  }

  InformationTable table79(state.names.table79);
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
    const DeckSwap swap(state.deck, kernel_study_deck(state.deck));
    const Deck& d = state.deck;
    inputs::LineList list(d.line_list_path(), d.reclen, d.nrec, d.dbtype);
    for (std::size_t n = 0; n < windows.size(); ++n) {
      const MicroWindow& w = windows[n];
      const auto [lo, hi] = window_edges(w);
      const IntervalGrid g = range_grid(lo, hi, grid);
      const int points = g.npts + 1;
      clear_information(nseg, window_info);
      InformationContent c;
      c.singular = !add_range_information(state, g, list, window_info);
      if (!c.singular) {
        c = information_content(window_info, d.avkpar2, segments, work, a);
        // The noise of different windows is independent too: their information adds.
        for (int i = 1; i <= nseg; ++i) {
          for (int j = 1; j <= nseg; ++j) joint_info(i, j) += window_info(i, j);
        }
        joint_formed = true;
      }
      table79.row(w.label, w.centre, w.width, points, c);
      if (c.singular) {
        console.write(rec::Format(kWindowSingular), {w.label, w.centre, points});
      } else {
        console.write(rec::Format(kWindowLine), {w.label, w.centre, points, c.dofs});
      }
      joint_points += points;
      joint_lo = n == 0 ? lo : std::min(joint_lo, lo);
      joint_hi = n == 0 ? hi : std::max(joint_hi, hi);
    }
  }

  InformationContent joint;
  joint.singular = true;
  if (joint_formed) joint = information_content(joint_info, state.deck.avkpar2, segments, work, a);
  if (windows.empty()) {
    console.write(rec::Format(kNoWindows));
  } else {
    table79.row(kAllWindowsLabel, (joint_lo + joint_hi) / 2.0f, joint_hi - joint_lo, joint_points, joint);
    if (joint.singular) {
      console.write(rec::Format(kJointSingular), {joint_points});
    } else {
      console.write(rec::Format(kJointLine), {joint_points, joint.dofs});
    }
  }
  table79.close();
  console.write(rec::Format(kTable79Done));
  // Without kernels of all windows the table keeps its header lines only.
  write_kernel_file(state.names.table80, a, joint.singular ? std::span<const Segment>() : segments);
  console.write(rec::Format(kTable80Done));
}

}  // namespace tesk
