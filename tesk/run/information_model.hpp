// What the information step and the window recommendation share of a run:
// the retrieval's state (one element per layer the path passes), the path
// with every layer 1 K warmer for the temperature's derivative, the
// a-priori covariance and the column the errors are stated in, all from the
// deck and input-plan.
#pragma once

#include <vector>

#include <Eigen/Dense>

#include "tesk/kernels/retrieval_budget.hpp"
#include "tesk/run/run_state.hpp"
#include "tesk/run/window_derivatives.hpp"

namespace tesk {

class InformationModel {
 public:
  // Needs the run's path set up (state.segments filled). Touches no file or console.
  explicit InformationModel(const RunState& state);
  InformationModel(const InformationModel&) = delete;
  InformationModel& operator=(const InformationModel&) = delete;

  const std::vector<Segment>& layers() const { return layers_; }
  const DerivativeModels& models() const { return models_; }
  const Eigen::MatrixXd& apriori() const { return sa_; }
  const ColumnModel& column() const { return column_; }

 private:
  std::vector<Segment> layers_;
  Atmosphere warm_;
  DerivativeModels models_;
  Eigen::MatrixXd sa_;
  ColumnModel column_;
};

}  // namespace tesk
