#include "tesk/kernels/retrieval_budget.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace tesk {
namespace {

double percent_of(double column_error, double column) {
  return column > 0.0 ? 100.0 * column_error / column : 0.0;
}

// The total: the root sum of squares of the four parts, which are independent.
void add_total(ColumnErrors& e) {
  e.total = std::sqrt(e.noise * e.noise + e.smoothing * e.smoothing + e.interference * e.interference +
                      e.temperature * e.temperature);
}

}  // namespace

Eigen::MatrixXd symmetric_square_root(const Eigen::MatrixXd& s) {
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> e(s);
  const Eigen::VectorXd root = e.eigenvalues().cwiseMax(0.0).cwiseSqrt();
  return e.eigenvectors() * root.asDiagonal() * e.eigenvectors().transpose();
}

PointInformation::PointInformation(Eigen::Index layers)
    : g(Eigen::MatrixXd::Zero(layers, layers)),
      interferer(layers, 0),
      temperature(Eigen::VectorXd::Zero(layers)) {}

PointInformation& PointInformation::operator+=(const PointInformation& other) {
  g += other.g;
  Eigen::MatrixXd both(g.rows(), interferer.cols() + other.interferer.cols());
  both << interferer, other.interferer;
  interferer = std::move(both);
  temperature += other.temperature;
  points += other.points;
  return *this;
}

void add_points(const Eigen::MatrixXd& k, const Eigen::VectorXd& kb, const Eigen::VectorXd& kt,
                const Eigen::VectorXd& sigma, PointInformation& info) {
  assert(k.rows() == sigma.size() && kb.size() == sigma.size() && kt.size() == sigma.size());
  // Each row divided by its noise: Se^-1/2 K, and the sums are plain products.
  const Eigen::ArrayXd w = sigma.array().inverse();
  const Eigen::MatrixXd kw = k.array().colwise() * w;
  info.g.noalias() += kw.transpose() * kw;
  info.interferer.conservativeResize(Eigen::NoChange, info.interferer.cols() + 1);
  info.interferer.col(info.interferer.cols() - 1) = kw.transpose() * (kb.array() * w).matrix();
  info.temperature.noalias() += kw.transpose() * (kt.array() * w).matrix();
  info.points += k.rows();
}

RetrievalBudget retrieval_budget(const PointInformation& info, const Eigen::MatrixXd& sa, const ColumnModel& column) {
  const Eigen::MatrixXd r = symmetric_square_root(sa);
  Eigen::MatrixXd m = r * info.g * r;
  m = 0.5 * (m + m.transpose());  // symmetric to the last bit, as the solver assumes
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> e(m);
  const Eigen::ArrayXd lambda = e.eigenvalues().array().cwiseMax(0.0);
  const Eigen::MatrixXd rv = r * e.eigenvectors();  // Sa^1/2 V

  RetrievalBudget b;
  b.dofs = (lambda / (1.0 + lambda)).sum();
  const Eigen::MatrixXd s_hat = rv * (1.0 + lambda).inverse().matrix().asDiagonal() * rv.transpose();
  b.a = s_hat * info.g;

  // The column's sensitivity to each eigen-direction: u = V^T Sa^1/2 c.
  const Eigen::ArrayXd u = (rv.transpose() * column.partial_air).array();
  const double total_column = column.partial_air.dot(column.profile);
  const Eigen::ArrayXd d = 1.0 + lambda;
  const double noise = std::sqrt((u.square() * lambda / d.square()).sum());
  const double smoothing = std::sqrt((u.square() / d.square()).sum());
  const double interference =
      (column.partial_air.transpose() * s_hat * info.interferer).norm() * column.interferer_fraction;
  const double temperature = std::fabs(column.partial_air.dot(s_hat * info.temperature)) * column.temperature_kelvin;
  b.errors.noise = percent_of(noise, total_column);
  b.errors.smoothing = percent_of(smoothing, total_column);
  b.errors.interference = percent_of(interference, total_column);
  b.errors.temperature = percent_of(temperature, total_column);
  add_total(b.errors);
  return b;
}

RetrievalBudget whitened_budget(const PointInformation& whitened, const Eigen::VectorXd& rc,
                                const ColumnModel& column) {
  const Eigen::MatrixXd m = 0.5 * (whitened.g + whitened.g.transpose());
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> e(m);
  const Eigen::ArrayXd lambda = e.eigenvalues().array().cwiseMax(0.0);
  const Eigen::ArrayXd d = 1.0 + lambda;
  // With u = V^T R c, the column moves by (u / d) . V^T x for a change x of
  // the whitened information's sums.
  const Eigen::ArrayXd u = (e.eigenvectors().transpose() * rc).array();
  const Eigen::RowVectorXd gain = (u / d).matrix().transpose() * e.eigenvectors().transpose();

  RetrievalBudget b;
  b.dofs = (lambda / d).sum();
  const double total_column = column.partial_air.dot(column.profile);
  b.errors.noise = percent_of(std::sqrt((u.square() * lambda / d.square()).sum()), total_column);
  b.errors.smoothing = percent_of(std::sqrt((u.square() / d.square()).sum()), total_column);
  b.errors.interference =
      percent_of((gain * whitened.interferer).norm() * column.interferer_fraction, total_column);
  b.errors.temperature =
      percent_of(std::fabs(gain.dot(whitened.temperature)) * column.temperature_kelvin, total_column);
  add_total(b.errors);
  return b;
}

}  // namespace tesk
