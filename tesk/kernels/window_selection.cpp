#include "tesk/kernels/window_selection.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "tesk/engine/parallel_for.hpp"

namespace tesk {
namespace {

// The information of a window in the space of the a-priori's square root
// R = Sa^1/2, where the posterior is (I + R G R)^-1 and a trial needs only
// a sum and a Cholesky factorisation of a well-conditioned matrix.
struct Whitened {
  Eigen::MatrixXd g;  // R G R
  Eigen::VectorXd b;  // R K^T Se^-1 k_b
  Eigen::VectorXd t;  // R K^T Se^-1 k_T
};

// A set of windows: their summed information, and the other gases of each
// window on their own (they are independent between windows).
struct WindowSet {
  Eigen::MatrixXd g;
  Eigen::VectorXd t;
  std::vector<const Eigen::VectorXd*> b;
};

WindowSet empty_set(Eigen::Index n) { return {Eigen::MatrixXd::Zero(n, n), Eigen::VectorXd::Zero(n), {}}; }

void add(WindowSet& to, const Whitened& w) {
  to.g += w.g;
  to.t += w.t;
  to.b.push_back(&w.b);
}

// Weighs sets of points by the criterion, smaller being better: the total
// column error in % (as retrieval_budget gives it), or minus the degrees of
// freedom.
class Scorer {
 public:
  Scorer(const PointRows& rows, const Eigen::MatrixXd& sa_root, const ColumnModel& column, SelectionCriterion c)
      : rows_(rows), criterion_(c), column_(column) {
    u_ = sa_root * column.partial_air;
    total_column_ = column.partial_air.dot(column.profile);
  }

  Whitened of(const PointSpan& s) const {
    const auto k = rows_.k.middleRows(s.first, s.size());
    return {k.transpose() * k, k.transpose() * rows_.interferer.segment(s.first, s.size()),
            k.transpose() * rows_.temperature.segment(s.first, s.size())};
  }

  // With M = I + R G R and y = M^-1 R c: noise^2 = c^T R M^-1 (M - I) M^-1 R c
  // = y.(R c) - y.y, smoothing^2 = y.y, and the other gases and the
  // temperature move the column by y.(R h) times their uncertainty.
  double score(const WindowSet& w) const {
    const auto n = w.g.rows();
    const Eigen::MatrixXd m = Eigen::MatrixXd::Identity(n, n) + w.g;
    const Eigen::LLT<Eigen::MatrixXd> llt(m);
    if (criterion_ == SelectionCriterion::dofs) {
      return -(static_cast<double>(n) - llt.solve(Eigen::MatrixXd::Identity(n, n)).trace());
    }
    const Eigen::VectorXd y = llt.solve(u_);
    const double smoothing2 = y.squaredNorm();
    const double noise2 = std::max(0.0, y.dot(u_) - smoothing2);
    double interference2 = 0.0;
    for (const Eigen::VectorXd* b : w.b) interference2 += std::pow(y.dot(*b) * column_.interferer_fraction, 2);
    const double temperature = y.dot(w.t) * column_.temperature_kelvin;
    const double total = std::sqrt(noise2 + smoothing2 + interference2 + temperature * temperature);
    return total_column_ > 0.0 ? 100.0 * total / total_column_ : 0.0;
  }

  // Whether `trial` improves on `current` by more than `fraction` of it.
  bool improves(double trial, double current, double fraction) const {
    return current - trial > fraction * std::fabs(current) && trial < current;
  }

 private:
  const PointRows& rows_;
  SelectionCriterion criterion_;
  const ColumnModel& column_;
  Eigen::VectorXd u_;  // R c
  double total_column_ = 0.0;
};

// The candidates an exchange may bring in: those best on their own.
constexpr std::size_t kExchangePool = 100;

struct Chosen {
  PointSpan span;
  Whitened w;
};


// The windows of `chosen` in the order a forward choice among them takes
// them, and the criterion of each prefix of that order.
struct Order {
  std::vector<std::size_t> index;
  std::vector<double> value;
  // The first place whose window does not improve on those before it
  // (value.size() when each does).
  std::size_t first_idle() const {
    for (std::size_t i = 1; i < value.size(); ++i) {
      if (!(value[i] < value[i - 1])) return i;
    }
    return value.size();
  }
  bool each_improves() const { return first_idle() == value.size(); }
};

Order forward_order(const Scorer& scorer, const std::vector<Chosen>& chosen, Eigen::Index n) {
  Order order;
  std::vector<bool> taken(chosen.size(), false);
  WindowSet joint = empty_set(n);
  for (std::size_t step = 0; step < chosen.size(); ++step) {
    std::size_t best = chosen.size();
    double best_value = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < chosen.size(); ++i) {
      if (taken[i]) continue;
      WindowSet trial = joint;
      add(trial, chosen[i].w);
      const double v = scorer.score(trial);
      if (best == chosen.size() || v < best_value) {
        best_value = v;
        best = i;
      }
    }
    taken[best] = true;
    add(joint, chosen[best].w);
    order.index.push_back(best);
    order.value.push_back(best_value);
  }
  return order;
}

// One window at a time can miss a set that only works together. As long as
// it lowers the criterion, the best exchange of one chosen window for a
// candidate that overlaps none of the others is made, in at most as many
// rounds as there are windows, and only while the set still reads as
// a choice in which every window added improves on those before it.
void improve_by_exchange(const Scorer& scorer, const std::vector<PointSpan>& all_candidates,
                         const std::vector<Whitened>& all_own, std::vector<Chosen>& chosen, Eigen::Index n) {
  // The candidates best on their own, so that a round costs little however
  // many lines the band has.
  std::vector<double> alone(all_candidates.size());
  parallel_for(0, static_cast<int>(all_candidates.size()) - 1, [&](int i) {
    WindowSet one = empty_set(n);
    add(one, all_own[static_cast<std::size_t>(i)]);
    alone[static_cast<std::size_t>(i)] = scorer.score(one);
  });
  std::vector<std::size_t> pool(all_candidates.size());
  for (std::size_t i = 0; i < pool.size(); ++i) pool[i] = i;
  std::stable_sort(pool.begin(), pool.end(), [&](std::size_t a, std::size_t b) { return alone[a] < alone[b]; });
  pool.resize(std::min(pool.size(), kExchangePool));
  std::vector<PointSpan> candidates;
  std::vector<const Whitened*> own;
  for (std::size_t i : pool) {
    candidates.push_back(all_candidates[i]);
    own.push_back(&all_own[i]);
  }
  const int count = static_cast<int>(candidates.size());
  std::vector<double> value(candidates.size());
  std::vector<std::size_t> out(candidates.size());
  WindowSet all = empty_set(n);
  for (const Chosen& c : chosen) add(all, c.w);
  double current = scorer.score(all);
  const std::size_t rounds = chosen.size();
  for (std::size_t round = 0; round < rounds; ++round) {
    // The chosen set without each of its windows, formed once a round.
    std::vector<WindowSet> without(chosen.size(), empty_set(n));
    for (std::size_t j = 0; j < chosen.size(); ++j) {
      for (std::size_t k = 0; k < chosen.size(); ++k) {
        if (k != j) add(without[j], chosen[k].w);
      }
    }
    parallel_for(0, count - 1, [&](int i) {
      const PointSpan& c = candidates[static_cast<std::size_t>(i)];
      double& v = value[static_cast<std::size_t>(i)];
      v = std::numeric_limits<double>::infinity();
      for (std::size_t j = 0; j < chosen.size(); ++j) {
        bool clear = true;
        for (std::size_t k = 0; k < chosen.size() && clear; ++k) clear = k == j || !chosen[k].span.overlaps(c);
        if (!clear) continue;
        WindowSet trial = without[j];
        add(trial, *own[static_cast<std::size_t>(i)]);
        const double t = scorer.score(trial);
        if (t < v) {
          v = t;
          out[static_cast<std::size_t>(i)] = j;
        }
      }
    });
    const auto best = std::min_element(value.begin(), value.end()) - value.begin();
    if (!scorer.improves(value[static_cast<std::size_t>(best)], current, 0.0)) return;
    std::vector<Chosen> exchanged = chosen;
    exchanged[out[static_cast<std::size_t>(best)]] =
        Chosen{candidates[static_cast<std::size_t>(best)], *own[static_cast<std::size_t>(best)]};
    if (!forward_order(scorer, exchanged, n).each_improves()) return;
    current = value[static_cast<std::size_t>(best)];
    chosen = std::move(exchanged);
  }
}

}  // namespace

PointInformation span_information(const PointRows& rows, const PointSpan& s) {
  const auto k = rows.k.middleRows(s.first, s.size());
  PointInformation info(rows.k.cols());
  info.g = k.transpose() * k;
  info.interferer = k.transpose() * rows.interferer.segment(s.first, s.size());
  info.temperature = k.transpose() * rows.temperature.segment(s.first, s.size());
  info.points = s.size();
  return info;
}

// One window at a time from the candidates first.. on (see select_windows).
std::vector<Chosen> choose_one_at_a_time(const Scorer& scorer, const std::vector<PointSpan>& candidates,
                                         const std::vector<Whitened>& own, const SelectionRules& rules, int first,
                                         Eigen::Index n) {
  const int count = static_cast<int>(candidates.size());
  std::vector<Chosen> chosen;
  double current = scorer.score(empty_set(n));
  std::vector<double> value(candidates.size(), std::numeric_limits<double>::infinity());
  while (static_cast<int>(chosen.size()) < rules.most_windows) {
    parallel_for(first, count - 1, [&](int i) {
      const PointSpan& c = candidates[static_cast<std::size_t>(i)];
      // The chosen windows the candidate leaves alone, then the candidate,
      // merged with those it overlaps.
      WindowSet trial = empty_set(n);
      PointSpan merged = c;
      for (const Chosen& w : chosen) {
        if (!w.span.overlaps(c)) {
          add(trial, w.w);
          continue;
        }
        merged.first = std::min(merged.first, w.span.first);
        merged.last = std::max(merged.last, w.span.last);
      }
      double& v = value[static_cast<std::size_t>(i)];
      if (merged.size() > rules.widest) {
        v = std::numeric_limits<double>::infinity();  // dropped: too wide to merge
        return;
      }
      if (merged.first == c.first && merged.last == c.last) {
        add(trial, own[static_cast<std::size_t>(i)]);
        v = scorer.score(trial);
      } else {
        const Whitened u = scorer.of(merged);
        add(trial, u);
        v = scorer.score(trial);
      }
    });
    // The first best candidate in table order, so that ties do not depend on threads.
    const auto best = std::min_element(value.begin(), value.end()) - value.begin();
    if (first >= count || !scorer.improves(value[static_cast<std::size_t>(best)], current, rules.stop_fraction)) break;
    current = value[static_cast<std::size_t>(best)];
    // The chosen windows never overlap each other, so the union with those
    // the candidate overlaps meets no other.
    const PointSpan& c = candidates[static_cast<std::size_t>(best)];
    PointSpan merged = c;
    std::vector<Chosen> kept;
    std::size_t place = chosen.size();
    for (std::size_t w = 0; w < chosen.size(); ++w) {
      if (chosen[w].span.overlaps(c)) {
        merged.first = std::min(merged.first, chosen[w].span.first);
        merged.last = std::max(merged.last, chosen[w].span.last);
        place = std::min(place, kept.size());
      } else {
        kept.push_back(chosen[w]);
      }
    }
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(place), Chosen{merged, scorer.of(merged)});
    chosen = std::move(kept);
  }
  return chosen;
}

// The windows of `chosen` in forward order, without those that would not
// improve on the windows before them: a window that only helps alongside
// another cannot be listed as a step that helps. They are left out one at a
// time, the first idle one first, as leaving one out can make a later one
// help again.
std::vector<Chosen> improving_order(const Scorer& scorer, std::vector<Chosen> chosen, Eigen::Index n) {
  for (;;) {
    const Order order = forward_order(scorer, chosen, n);
    const std::size_t idle = order.first_idle();
    if (idle == order.value.size()) {
      std::vector<Chosen> ordered;
      for (std::size_t i : order.index) ordered.push_back(chosen[i]);
      return ordered;
    }
    chosen.erase(chosen.begin() + static_cast<std::ptrdiff_t>(order.index[idle]));
  }
}

double score_of(const Scorer& scorer, const std::vector<Chosen>& chosen, Eigen::Index n) {
  WindowSet all = empty_set(n);
  for (const Chosen& c : chosen) add(all, c.w);
  return scorer.score(all);
}

std::vector<PointSpan> select_windows(const PointRows& rows, const std::vector<PointSpan>& candidates,
                                      const Eigen::MatrixXd& sa_root, const ColumnModel& column,
                                      const SelectionRules& rules) {
  const Eigen::Index n = rows.k.cols();
  const Scorer scorer(rows, sa_root, column, rules.criterion);
  const int count = static_cast<int>(candidates.size());
  std::vector<Whitened> own(candidates.size());
  parallel_for(0, count - 1,
               [&](int i) { own[static_cast<std::size_t>(i)] = scorer.of(candidates[static_cast<std::size_t>(i)]); });

  // From all candidates, and from the seed candidates alone; the better set wins.
  std::vector<Chosen> chosen = choose_one_at_a_time(scorer, candidates, own, rules, 0, n);
  improve_by_exchange(scorer, candidates, own, chosen, n);
  chosen = improving_order(scorer, std::move(chosen), n);
  if (rules.seed_from > 0 && rules.seed_from < count) {
    std::vector<Chosen> seeded = choose_one_at_a_time(scorer, candidates, own, rules, rules.seed_from, n);
    improve_by_exchange(scorer, candidates, own, seeded, n);
    seeded = improving_order(scorer, std::move(seeded), n);
    if (score_of(scorer, seeded, n) < score_of(scorer, chosen, n)) chosen = std::move(seeded);
  }
  std::vector<PointSpan> spans;
  for (const Chosen& c : chosen) spans.push_back(c.span);
  return spans;
}

}  // namespace tesk
