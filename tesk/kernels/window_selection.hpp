// The choice of microwindows for a retrieval: from candidate windows, each a
// run of consecutive spectral points, the set that gives the smallest error
// of the target's column (or the most degrees of freedom), chosen one window
// at a time. A candidate that overlaps a chosen window is merged with it
// when the merged window does better, and dropped otherwise.
#pragma once

#include <vector>

#include <Eigen/Dense>

#include "tesk/kernels/retrieval_budget.hpp"

namespace tesk {

// Consecutive points first..last (0-based, inclusive) of a PointRows.
struct PointSpan {
  Eigen::Index first = 0;
  Eigen::Index last = -1;
  Eigen::Index size() const { return last - first + 1; }
  bool overlaps(const PointSpan& o) const { return first <= o.last && o.first <= last; }
};

// What every point of the candidates' spectrum tells, in the space of the
// a-priori's square root R = Sa^1/2 and divided by the point's noise:
// K R / sigma, k_b / sigma and k_T / sigma. Rows of points that lie next to
// each other in wavenumber are next to each other here, so that a window is
// a PointSpan.
struct PointRows {
  Eigen::MatrixXd k;            // points x layers
  Eigen::VectorXd interferer;
  Eigen::VectorXd temperature;
};

enum class SelectionCriterion { column_error, dofs };

struct SelectionRules {
  SelectionCriterion criterion = SelectionCriterion::column_error;
  int most_windows = 10;
  double stop_fraction = 0.0;  // a window must improve the criterion by this share of its value
  Eigen::Index widest = 0;     // points a merged window may have at most
  int seed_from = 0;           // candidates from here on form a set of their own to start from (0: none)
};

// Chooses windows among `candidates` (spans of `rows`) for the column
// `column` (retrieval_budget.hpp), with `sa_root` the R the rows are
// multiplied by. Each step takes the candidate that improves the criterion
// most given the windows chosen so far: one that overlaps chosen windows
// counts as their union (when that is no wider than rules.widest),
// replacing them. It ends after rules.most_windows windows, or when no
// candidate improves the criterion by more than rules.stop_fraction of its
// value. Then, while it helps (at most once per window), one chosen window
// is exchanged for one of the 100 candidates best on their own that
// overlaps none of the others (one at a time can miss a set that works
// together). When rules.seed_from > 0 the same is done starting from the
// candidates from seed_from on alone (the windows of a set the caller
// knows), and the better of the two sets is taken. The windows are returned
// in the order in which a forward choice among them alone would take them,
// so that each prefix is the best of its size the set holds; a window that
// would not improve on those before it in that order is left out, so that
// every window listed improves the criterion. Candidates are weighed in
// parallel; the result does not depend on the thread count. Touches no file
// or console.
std::vector<PointSpan> select_windows(const PointRows& rows, const std::vector<PointSpan>& candidates,
                                      const Eigen::MatrixXd& sa_root, const ColumnModel& column,
                                      const SelectionRules& rules);

// The information of the points of `span`, in the space of R, for
// whitened_budget (one column of the other gases).
PointInformation span_information(const PointRows& rows, const PointSpan& span);

}  // namespace tesk
