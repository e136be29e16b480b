#include "tesk/kernels/apriori.hpp"

#include <cmath>

namespace tesk {
namespace {

double correlation(CorrelationShape shape, double dz, double length) {
  if (length <= 0.0) return dz == 0.0 ? 1.0 : 0.0;
  const double x = std::fabs(dz) / length;
  return shape == CorrelationShape::exponential ? std::exp(-x) : std::exp(-0.5 * x * x);
}

}  // namespace

Eigen::MatrixXd apriori_covariance(const AprioriSpec& spec, std::span<const Segment> layers) {
  const auto n = static_cast<Eigen::Index>(layers.size());
  Eigen::VectorXd s(n);
  for (Eigen::Index i = 0; i < n; ++i) {
    const Segment& l = layers[static_cast<std::size_t>(i)];
    s(i) = spec.kind == AprioriKind::absolute ? spec.sigma
                                              : spec.percent / 100.0 * static_cast<double>(l.target_vmr);
  }
  Eigen::MatrixXd sa(n, n);
  for (Eigen::Index i = 0; i < n; ++i) {
    for (Eigen::Index j = 0; j < n; ++j) {
      const double dz = static_cast<double>(layers[static_cast<std::size_t>(i)].alt) -
                        static_cast<double>(layers[static_cast<std::size_t>(j)].alt);
      sa(i, j) = s(i) * s(j) * correlation(spec.shape, dz, spec.length_km);
    }
  }
  return sa;
}

}  // namespace tesk
