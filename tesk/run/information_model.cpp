#include "tesk/run/information_model.hpp"

#include "tesk/kernels/apriori.hpp"

namespace tesk {
namespace {

// The model atmosphere with every layer 1 K warmer.
Atmosphere warmer_by_one_kelvin(const Atmosphere& atm) {
  Atmosphere warm = atm;
  for (int l = 1; l <= warm.nlev; ++l) warm.temp(l) += 1.0f;
  return warm;
}

AprioriSpec apriori_spec(const PlanSettings& p, float apriori_sigma) {
  AprioriSpec a;
  a.kind = p.apriori;
  a.sigma = static_cast<double>(apriori_sigma);
  a.percent = static_cast<double>(p.apriori_percent);
  a.length_km = static_cast<double>(p.correlation_km);
  a.shape = p.correlation;
  return a;
}

// The target's column over the layers of the state, from the air in each
// layer of 1 km, with the uncertainties the retrieval does not fit.
ColumnModel column_model(const Atmosphere& atm, std::span<const Segment> layers, const PlanSettings& p) {
  ColumnModel c;
  const auto n = static_cast<Eigen::Index>(layers.size());
  c.partial_air.resize(n);
  c.profile.resize(n);
  for (Eigen::Index i = 0; i < n; ++i) {
    const Segment& l = layers[static_cast<std::size_t>(i)];
    c.partial_air(i) = static_cast<double>(atm.column(l.layer));
    c.profile(i) = static_cast<double>(l.target_vmr);
  }
  c.interferer_fraction = static_cast<double>(p.interferer_percent) / 100.0;
  c.temperature_kelvin = static_cast<double>(p.temperature_kelvin);
  return c;
}

}  // namespace

InformationModel::InformationModel(const RunState& state)
    : layers_(state_layers(state.segments)),
      warm_(warmer_by_one_kelvin(state.atm)),
      models_{PathModel{state.atm, state.path}, PathModel{warm_, state.path}, state.segments, layers_},
      sa_(apriori_covariance(apriori_spec(state.plan, state.deck.apriori_sigma), layers_)),
      column_(column_model(state.atm, layers_, state.plan)) {}

}  // namespace tesk
