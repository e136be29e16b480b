// The retrieval budget from its eigen-decomposition against the textbook
// formulas with explicit inverses, then the invariants of the degrees of
// freedom over a-priori to noise ratios from 1e-3 to 1e6.
#include "tesk/kernels/retrieval_budget.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr int kLayers = 8;
constexpr int kPoints = 30;

struct Problem {
  Eigen::MatrixXd k{kPoints, kLayers};
  Eigen::VectorXd kb{kPoints}, kt{kPoints}, sigma{kPoints};
  Eigen::MatrixXd sa{kLayers, kLayers};  // correlated over two layers, 20 % of the profile
  tesk::ColumnModel column;

  Problem() {
    std::mt19937 random(20261208);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> uniform(0.5, 1.5);
    for (double& v : k.reshaped()) v = normal(random) * 1e6;  // per unit mixing ratio
    for (Eigen::Index i = 0; i < kPoints; ++i) {
      kb(i) = normal(random);
      kt(i) = normal(random);
      sigma(i) = 0.1 * uniform(random);
    }
    column.partial_air.resize(kLayers);
    column.profile.resize(kLayers);
    for (int l = 0; l < kLayers; ++l) {
      column.partial_air(l) = 2e24 * std::exp(-l / 8.0) * uniform(random);
      column.profile(l) = 1e-7 * uniform(random);
    }
    column.interferer_fraction = 0.05;
    column.temperature_kelvin = 2.0;
    for (int i = 0; i < kLayers; ++i) {
      for (int j = 0; j < kLayers; ++j) {
        sa(i, j) = 0.04 * column.profile(i) * column.profile(j) * std::exp(-std::abs(i - j) / 2.0);
      }
    }
  }

  tesk::PointInformation information(Eigen::Index first, Eigen::Index count) const {
    tesk::PointInformation info(kLayers);
    tesk::add_points(k.middleRows(first, count), kb.segment(first, count), kt.segment(first, count),
                     sigma.segment(first, count), info);
    return info;
  }
};

TEST(RetrievalBudget, TextbookFormulas) {
  const Problem p;
  const tesk::RetrievalBudget b = tesk::retrieval_budget(p.information(0, kPoints), p.sa, p.column);

  const Eigen::MatrixXd se_inv = p.sigma.array().square().inverse().matrix().asDiagonal();
  const Eigen::MatrixXd g = p.k.transpose() * se_inv * p.k;
  const Eigen::MatrixXd s = (g + p.sa.fullPivLu().inverse()).fullPivLu().inverse();
  const Eigen::MatrixXd a = s * g;
  const Eigen::MatrixXd ai = a - Eigen::MatrixXd::Identity(kLayers, kLayers);
  const Eigen::VectorXd& c = p.column.partial_air;
  const double percent = 100.0 / c.dot(p.column.profile);
  const double noise = std::sqrt(c.dot(s * g * s * c)) * percent;
  const double smoothing = std::sqrt(c.dot(ai * p.sa * ai.transpose() * c)) * percent;
  const double interference = std::fabs(c.dot(s * p.k.transpose() * se_inv * p.kb)) * 0.05 * percent;
  const double temperature = std::fabs(c.dot(s * p.k.transpose() * se_inv * p.kt)) * 2.0 * percent;

  const double dofs = a.trace();
  EXPECT_GT(dofs, 1.0);
  EXPECT_LT(dofs, kLayers - 1.0);
  EXPECT_NEAR(b.dofs, dofs, 1e-8 * dofs);
  EXPECT_LE((b.a - a).cwiseAbs().maxCoeff(), 1e-8 * a.cwiseAbs().maxCoeff());
  const double expected[] = {noise, smoothing, interference, temperature,
                             std::hypot(std::hypot(noise, smoothing), std::hypot(interference, temperature))};
  const double got[] = {b.errors.noise, b.errors.smoothing, b.errors.interference, b.errors.temperature,
                        b.errors.total};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_GT(expected[i], 0.0);
    EXPECT_NEAR(got[i], expected[i], 1e-8 * expected[i]);
  }
}

TEST(RetrievalBudget, DegreesOfFreedomOverAprioriToNoiseRatios) {
  const Problem p;
  // Rounding lets a sum of nearly 8 eigenvalue fractions be off in its last bits.
  constexpr double kRounding = 1e-12;
  for (double ratio : {1e-3, 1.0, 1e3, 1e6}) {
    SCOPED_TRACE(ratio);
    const Eigen::MatrixXd sa = p.sa * (ratio * ratio);
    const auto dofs = [&](const tesk::PointInformation& info) {
      const double d = tesk::retrieval_budget(info, sa, p.column).dofs;
      EXPECT_GE(d, 0.0);
      EXPECT_LE(d, kLayers + kRounding);
      return d;
    };
    tesk::PointInformation joint = p.information(0, 12);
    const double first = dofs(joint);
    const double second = dofs(p.information(12, kPoints - 12));
    joint += p.information(12, kPoints - 12);
    EXPECT_EQ(joint.points, kPoints);
    EXPECT_GE(dofs(joint), std::max(first, second) - kRounding);
    double previous = 0.0;
    for (Eigen::Index n = 1; n <= kPoints; ++n) {
      const double d = dofs(p.information(0, n));
      EXPECT_GE(d, previous - kRounding) << n << " points";
      previous = d;
    }
  }
}

}  // namespace
