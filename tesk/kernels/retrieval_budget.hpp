// What an optimal-estimation retrieval of the target profile from a set of
// spectral points would achieve: its averaging kernels, degrees of freedom
// and the error of the target's total column from measurement noise,
// smoothing, the other gases and the temperature. The points' noise is
// independent, so everything the points contribute is a sum over them, and
// the information of several windows is the sum of theirs.
#pragma once

#include <Eigen/Dense>

namespace tesk {

// The sums over spectral points i with noise sigma_i of the weighting
// functions K (one column per layer of the state), of the spectrum's change
// k_b when every other gas is scaled by 1 + 1, and of its change k_T when
// the whole temperature profile rises by 1 K. The other gases count as
// uncertain independently in every window (a different gas mostly
// interferes in each, and lumping them would let their errors cancel
// between windows), so k_b has one column per window; the temperature is
// one profile for all.
struct PointInformation {
  Eigen::MatrixXd g;            // K^T Se^-1 K
  Eigen::MatrixXd interferer;   // K^T Se^-1 k_b, one column per window
  Eigen::VectorXd temperature;  // K^T Se^-1 k_T
  long long points = 0;

  explicit PointInformation(Eigen::Index layers);
  PointInformation& operator+=(const PointInformation& other);
};

// Adds the points of one window given by the rows of k (points x layers),
// kb and kt, with noise sigma (all > 0). Touches no file or console.
void add_points(const Eigen::MatrixXd& k, const Eigen::VectorXd& kb, const Eigen::VectorXd& kt,
                const Eigen::VectorXd& sigma, PointInformation& info);

// The column the errors are stated in, with the uncertainties that are not
// retrieved.
struct ColumnModel {
  Eigen::VectorXd partial_air;  // molecules cm-2 of air in each layer of the state
  Eigen::VectorXd profile;      // the target's mixing ratio in each layer
  double interferer_fraction = 0.0;  // uncertainty of the other gases' columns in each window, as a fraction
  double temperature_kelvin = 0.0;   // uncertainty of the temperature profile, K
};

// The error of the target's total column, in % of the column.
struct ColumnErrors {
  double noise = 0.0;
  double smoothing = 0.0;
  double interference = 0.0;
  double temperature = 0.0;
  double total = 0.0;  // root sum of squares of the four
};

struct RetrievalBudget {
  Eigen::MatrixXd a;  // averaging kernels, A(i, j): retrieved layer i, true layer j
  double dofs = 0.0;  // degrees of freedom, sum of lambda / (1 + lambda)
  ColumnErrors errors;
};

// The symmetric square root of a positive semi-definite matrix such as Sa;
// directions that rounding makes slightly negative count as none.
Eigen::MatrixXd symmetric_square_root(const Eigen::MatrixXd& s);

// The retrieval from `info` with the a-priori covariance `sa` (symmetric,
// positive semi-definite). Formed from the eigen-decomposition of
// Sa^1/2 G Sa^1/2 = V diag(lambda) V^T, so that no matrix is inverted and a
// singular Sa (a target of nothing, a correlation length of many layers) is
// no fault: with S = Sa^1/2 V diag(1 / (1 + lambda)) V^T Sa^1/2, the
// posterior covariance, A = S G, the noise error is S G S and the smoothing
// error Sa^1/2 V diag(1 / (1 + lambda)^2) V^T Sa^1/2, each projected on the
// column; the other gases and the temperature move the column by
// c^T S K^T Se^-1 k times their uncertainty (the windows' other gases
// independently: their squares add). Eigenvalues that rounding makes negative count as 0, so
// the degrees of freedom lie in [0, layers] and never fall when points are
// added. Touches no file or console.
RetrievalBudget retrieval_budget(const PointInformation& info, const Eigen::MatrixXd& sa, const ColumnModel& column);

// The same from information in the space of the a-priori's square root
// R = Sa^1/2: `whitened` holds R G R, R K^T Se^-1 k_b and R K^T Se^-1 k_T,
// the sums over points whose weighting functions were multiplied by R.
// `rc` is R times the partial air columns. Gives the degrees of freedom and
// the column errors, not the averaging kernels (they would need G itself).
RetrievalBudget whitened_budget(const PointInformation& whitened, const Eigen::VectorXd& rc,
                                const ColumnModel& column);

}  // namespace tesk
