#include "tesk/run/recommended_windows.hpp"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "common/nint.hpp"
#include "tesk/kernels/window_selection.hpp"
#include "tesk/run/information_model.hpp"
#include "tesk/run/setup.hpp"
#include "tesk/run/spectral_run.hpp"
#include "tesk/run/window_derivatives.hpp"
#include "tesk/run/window_information.hpp"
#include "tesk/tables/recommended_table.hpp"
#include "tesk/tables/table71_reader.hpp"
#include "tesk/linefind/samples.hpp"

namespace tesk {
namespace {

const rec::Format kChosen(
    "(' Recommended windows:',i4,',',f7.3,' degrees of freedom,',f9.3,' % column error')");
const rec::Format kNoneChosen("(' No recommended windows: ',a)");
const rec::Format kTable81Done("(' Table81 (recommended m-windows)')");

// Points computed in one go: long enough that the spectrum computed around
// a chunk for the line shape (30 cm-1 cm over the path difference on each
// side) is a small part of it, short enough that its derivatives take a few
// MB at a time.
constexpr int kChunkPoints = 10001;

// The best-rated lines of table75 that are candidates. Each costs a matrix
// of the layers' size in memory and a trial at every step of the choice.
constexpr std::size_t kMostCandidates = 1000;

// What a window tells of the target is at most the sum over its samples of
// (sensitivity / noise)^2, where the sensitivity is the change of the
// recorded spectrum per unit relative change of the target (table71's
// difference over tfactor - 1). A candidate whose sum is below this share
// of the largest candidate's would change the column's error by about a
// part in two thousand at most, less than any window is worth fitting for,
// so its spectrum is not computed. (The sensitivity counts the target
// layer of the deck only: a line seen there is seen in the whole column.)
// The best-rated kAlwaysCandidates are candidates whatever their sum.
constexpr double kLeastShare = 1e-3;
constexpr std::size_t kAlwaysCandidates = 100;

// cm-1: stretches of candidates closer than this are computed together.
constexpr float kJoinGap = 1.0f;

// The points of the deck's grid, counted from the start of its range, that
// lie within a window. A window narrower than the grid takes its nearest point.
struct PointIndex {
  long long first = 0;
  long long last = -1;
};

PointIndex window_points(const MicroWindow& w, float vlo, float grid) {
  const auto [lo, hi] = window_edges(w);
  const double g = static_cast<double>(grid);
  // Of a step: edges that lie on the grid stay in, whatever the rounding of
  // single-precision wavenumbers (some 1e-4 of a step at 2000 cm-1).
  const double tolerance = 0.05;
  PointIndex p{static_cast<long long>(std::ceil((static_cast<double>(lo) - static_cast<double>(vlo)) / g - tolerance)),
               static_cast<long long>(std::floor((static_cast<double>(hi) - static_cast<double>(vlo)) / g + tolerance))};
  if (p.last < p.first) p.first = p.last = rec::nint((w.centre - vlo) / grid);
  return p;
}

// Runs of points that the candidates cover without a gap, in order, and
// where each begins among the rows.
struct Stretch {
  PointIndex points;
  Eigen::Index row = 0;
};

std::vector<Stretch> stretches_of(std::vector<PointIndex> windows) {
  std::sort(windows.begin(), windows.end(), [](const PointIndex& a, const PointIndex& b) {
    return a.first < b.first || (a.first == b.first && a.last < b.last);
  });
  std::vector<Stretch> s;
  for (const PointIndex& w : windows) {
    if (!s.empty() && w.first <= s.back().points.last + 1) {
      s.back().points.last = std::max(s.back().points.last, w.last);
    } else {
      const Eigen::Index row = s.empty() ? 0 : s.back().row + (s.back().points.last - s.back().points.first + 1);
      s.push_back(Stretch{w, row});
    }
  }
  return s;
}

// The rows of a window's points, by the stretch that holds it.
PointSpan rows_of(const PointIndex& w, const std::vector<Stretch>& stretches) {
  const auto it = std::upper_bound(stretches.begin(), stretches.end(), w.first,
                                   [](long long first, const Stretch& s) { return first < s.points.first; });
  const Stretch& s = *(it - 1);
  return PointSpan{s.row + (w.first - s.points.first), s.row + (w.last - s.points.first)};
}

IntervalGrid chunk_grid(long long first, long long last, float vlo, float grid) {
  IntervalGrid g;
  g.grid = grid;
  g.vstart = static_cast<float>(static_cast<double>(vlo) + static_cast<double>(first) * static_cast<double>(grid));
  g.npts = static_cast<int>(last - first);
  g.vend = g.nu(g.npts);
  return g;
}

// Grid points first..last, counted from the start of the range.
struct Chunk {
  long long first = 0, last = -1;
};

// The derivatives of every point of the stretches, each divided by its
// noise, the target's multiplied by `sa_root`.
// Stretches a little apart are computed together: every line near a chunk
// costs its strength and width per layer however few points it reaches, so
// a few grid points between two stretches cost less than a second pass over
// the same lines.
PointRows point_rows(RunState& state, const SpectrumSetup& setup, const InformationModel& model,
                     const Eigen::MatrixXd& sa_root, const std::vector<Stretch>& stretches) {
  const Deck& deck = state.deck;
  PointRows rows;
  const Eigen::Index total = stretches.empty() ? 0
                                               : stretches.back().row + (stretches.back().points.last -
                                                                         stretches.back().points.first + 1);
  const auto n = static_cast<Eigen::Index>(model.layers().size());
  rows.k.resize(total, n);
  rows.interferer.resize(total);
  rows.temperature.resize(total);
  inputs::LineList list(deck.linefile, deck.reclen, deck.nrec, letter_of(deck.dbtype));
  WindowDerivatives d;
  const long long join = rec::nint(kJoinGap / deck.grid);
  // Computes first..last with the lines of `reach` and keeps the points of
  // `keep` among them.
  auto compute_part = [&](const Chunk& c, std::span<const Stretch> keep, LineReach reach) {
    const IntervalGrid g = chunk_grid(c.first, c.last, deck.vlo, deck.grid);
    const Padding pad = window_padding(setup.instrument, g);
    if (g.npts + pad.below + pad.above > kMaxIntervalSteps) {
      rec::stop(kTooManyPoints, " The recommended windows near " + rec::plain_number(g.vstart) + " cm-1 need " +
                                    std::to_string(g.npts + pad.below + pad.above) +
                                    " grid steps with the spectrum around them; at most " +
                                    std::to_string(kMaxIntervalSteps) + " are allowed: coarsen the grid (line 28).");
    }
    window_derivatives(setup, model.models(), *state.sun, g, list, state.work, d, reach);
    const Eigen::ArrayXd w = d.sigma.array().inverse();
    for (const Stretch& s : keep) {
      const long long from = std::max(c.first, s.points.first);
      const long long to = std::min(c.last, s.points.last);
      if (to < from) continue;
      const Eigen::Index at = from - c.first;
      const Eigen::Index count = to - from + 1;
      const Eigen::Index row = s.row + (from - s.points.first);
      rows.k.middleRows(row, count).noalias() =
          (d.k.middleRows(at, count).array().colwise() * w.segment(at, count)).matrix() * sa_root;
      rows.interferer.segment(row, count) = (d.interferer.segment(at, count).array() * w.segment(at, count)).matrix();
      rows.temperature.segment(row, count) =
          (d.temperature.segment(at, count).array() * w.segment(at, count)).matrix();
    }
  };
  // Each point takes the lines of its block (LineBlocks), whatever else is
  // computed with it: a chunk is cut where blocks meet.
  const LineBlocks blocks(deck.vlo, deck.grid);
  auto compute = [&](const Chunk& c, std::span<const Stretch> keep) {
    for (long long k = blocks.of(c.first); k <= blocks.of(c.last); ++k) {
      const long long lo = std::max(c.first, blocks.first_point(k));
      const long long hi = std::min(c.last, blocks.last_point(k));
      compute_part(Chunk{lo, hi}, keep, blocks.reach(k));
    }
  };
  for (std::size_t a = 0; a < stretches.size();) {
    const PointIndex& p = stretches[a].points;
    if (p.last - p.first + 1 > kChunkPoints) {  // a long stretch, in pieces
      for (long long first = p.first; first <= p.last; first += kChunkPoints) {
        compute(Chunk{first, std::min(p.last, first + kChunkPoints - 1)}, std::span(stretches).subspan(a, 1));
      }
      ++a;
      continue;
    }
    std::size_t b = a;
    while (b + 1 < stretches.size() && stretches[b + 1].points.last - p.first + 1 <= kChunkPoints &&
           stretches[b + 1].points.first - stretches[b].points.last - 1 <= join) {
      ++b;
    }
    compute(Chunk{p.first, stretches[b].points.last}, std::span(stretches).subspan(a, b - a + 1));
    a = b + 1;
  }
  return rows;
}

// The candidates among the rated lines, best-rated first: at most
// kMostCandidates (a band of thousands of lines), and only those that can
// tell enough of the target (kLeastShare). The sensitivity is in the units
// of the spectrum, the noise in transmission or radiance: a
// brightness-temperature run keeps every line (and a run without noise,
// which chooses none).
void keep_candidates(const RunState& state, const SpectrumSetup& setup, CandidateTable& candidates) {
  if (candidates.windows.size() > kMostCandidates) candidates.windows.resize(kMostCandidates);
  if (setup.units == Units::brightness_temperature || setup.retrieval.noise == 0.0f) return;
  TargetSamples samples;
  read_target_samples(state.names.table71, state.deck.tfactor, samples);
  if (!samples.ordered) return;
  const int n = samples.nsamp;
  std::vector<double> signal(static_cast<std::size_t>(n) + 1, 0.0);  // running sums, from sample 1
  for (int j = 1; j <= n; ++j) {
    const double s = static_cast<double>(samples.sensitivity(j)) /
                     sample_noise(setup, state.segments, samples.wavenumber(j));
    signal[static_cast<std::size_t>(j)] = signal[static_cast<std::size_t>(j) - 1] + s * s;
  }
  const std::span<const float> nu = std::as_const(samples.wavenumber).span().first(static_cast<std::size_t>(n));
  std::vector<double> told;
  for (const MicroWindow& w : candidates.windows) {
    const auto [lo, hi] = window_edges(w);
    const auto from = std::lower_bound(nu.begin(), nu.end(), lo) - nu.begin();
    const auto to = std::upper_bound(nu.begin(), nu.end(), hi) - nu.begin();
    told.push_back(signal[static_cast<std::size_t>(to)] - signal[static_cast<std::size_t>(from)]);
  }
  const double most = told.empty() ? 0.0 : *std::max_element(told.begin(), told.end());
  std::vector<MicroWindow> kept;
  for (std::size_t i = 0; i < candidates.windows.size(); ++i) {
    if (i < kAlwaysCandidates || told[i] >= kLeastShare * most) kept.push_back(candidates.windows[i]);
  }
  candidates.windows = std::move(kept);
}

}  // namespace

void recommend_windows(RunState& state, const InformationModel& model, rec::Console& console) {
  const Deck& deck = state.deck;
  CandidateTable candidates = read_candidate_windows(state.names.table75);
  const bool rated = !candidates.windows.empty();
  const SpectrumSetup setup = kernel_study_setup(state.setup);
  keep_candidates(state, setup, candidates);
  // table76's windows too: merged from neighbouring lines, they are the
  // wider windows the rating itself would fit, and a set to start from.
  const std::size_t seed_from = candidates.windows.size();
  for (const MicroWindow& w : read_microwindows(state.names.table76)) candidates.windows.push_back(w);
  RecommendedTable table81(state.names.table81, candidates.header);
  if (setup.retrieval.noise == 0.0f || !rated) {
    table81.close();
    console.write(kNoneChosen, {std::string_view(!rated ? "no rated target lines (table75)"
                                                                           : "noise 0 (deck line 33)")});
    console.write(kTable81Done);
    return;
  }

  std::vector<PointIndex> points;
  for (const MicroWindow& w : candidates.windows) points.push_back(window_points(w, deck.vlo, deck.grid));
  const std::vector<Stretch> stretches = stretches_of(points);
  std::vector<PointSpan> spans;
  Eigen::Index widest = rec::nint(deck.maxwidth / deck.grid) + 1;
  for (const PointIndex& p : points) {
    spans.push_back(rows_of(p, stretches));
    widest = std::max(widest, spans.back().size());
  }

  const Eigen::MatrixXd sa_root = symmetric_square_root(model.apriori());
  const Eigen::VectorXd rc = sa_root * model.column().partial_air;
  const PointRows rows = point_rows(state, setup, model, sa_root, stretches);
  SelectionRules rules;
  rules.criterion = state.plan.select_by == WindowChoice::dofs ? SelectionCriterion::dofs
                                                               : SelectionCriterion::column_error;
  rules.most_windows = state.plan.windows;
  rules.stop_fraction = static_cast<double>(state.plan.stop_fraction);
  rules.widest = widest;
  rules.seed_from = static_cast<int>(seed_from);
  const std::vector<PointSpan> chosen = select_windows(rows, spans, sa_root, model.column(), rules);

  PointInformation joint(static_cast<Eigen::Index>(model.layers().size()));
  RetrievalBudget all;
  for (std::size_t r = 0; r < chosen.size(); ++r) {
    const PointSpan& c = chosen[r];
    const PointInformation own = span_information(rows, c);
    joint += own;
    all = whitened_budget(joint, rc, model.column());
    // The label of the first candidate the window holds; the grid points at its edges.
    std::size_t k = 0;
    while (k + 1 < spans.size() && !spans[k].overlaps(c)) ++k;
    const Stretch& s = *std::find_if(stretches.rbegin(), stretches.rend(),
                                     [&](const Stretch& t) { return t.row <= c.first; });
    const double first = static_cast<double>(s.points.first + (c.first - s.row));
    RecommendedRow row;
    row.rank = static_cast<int>(r) + 1;
    row.label = candidates.windows[k].label;
    row.lower = static_cast<double>(deck.vlo) + first * static_cast<double>(deck.grid);
    row.upper = row.lower + static_cast<double>(c.size() - 1) * static_cast<double>(deck.grid);
    row.points = static_cast<int>(c.size());
    row.dofs = whitened_budget(own, rc, model.column()).dofs;
    row.joint_dofs = all.dofs;
    row.errors = all.errors;
    table81.row(row);
  }
  table81.close();
  if (chosen.empty()) {
    console.write(kNoneChosen, {std::string_view("no candidate window improves the column")});
  } else {
    console.write(kChosen, {static_cast<int>(chosen.size()), all.dofs, all.errors.total});
  }
  console.write(kTable81Done);
}

}  // namespace tesk
