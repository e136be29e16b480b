// The a-priori covariance of the target profile, Sa, for the information
// step: an uncertainty per layer (one mixing-ratio value for all layers, or
// a percentage of the profile) and a correlation between layers that falls
// off with their distance in altitude, as ground-based retrievals set it up.
#pragma once

#include <span>

#include <Eigen/Dense>

#include "tesk/kernels/weighting_functions.hpp"

namespace tesk {

enum class AprioriKind { absolute, percent };

// exponential: exp(-|z_i - z_j| / L); gaussian: exp(-(z_i - z_j)^2 / (2 L^2)).
enum class CorrelationShape { exponential, gaussian };

struct AprioriSpec {
  AprioriKind kind = AprioriKind::absolute;
  double sigma = 0.0;        // mixing ratio, for absolute
  double percent = 0.0;      // % of each layer's mixing ratio, for percent
  double length_km = 0.0;    // correlation length; 0: uncorrelated layers
  CorrelationShape shape = CorrelationShape::exponential;
};

// Sa over the state's layers (their mixing ratio target_vmr and altitude
// alt): S(i, j) = s_i s_j rho(z_i - z_j). Touches no file or console.
Eigen::MatrixXd apriori_covariance(const AprioriSpec& spec, std::span<const Segment> layers);

}  // namespace tesk
