#include "tesk/run/setup.hpp"

namespace tesk {

SpectrumSetup spectrum_setup(const Deck& d) {
  SpectrumSetup s;
  s.study = d.study;
  s.quantity = d.transrad;
  s.units = d.radunits;
  s.normalisation = d.norm;
  s.solar = d.solar;
  s.geometry = d.geom;
  s.background_temp = d.tback;
  s.margin = d.margin;
  s.wing_threshold = d.wing_threshold;
  s.target = TargetGas{d.gasno, d.isotope, d.altlo, d.althi, d.tfactor};
  s.instrument = Instrument{d.resol, d.fovarea};
  s.retrieval = RetrievalNoise{d.noise, d.apriori_sigma};
  return s;
}

SpectrumSetup kernel_study_setup(const SpectrumSetup& s) {
  SpectrumSetup k = s;
  k.study = Study::kernels;
  k.wing_threshold = kFineWingThreshold;  // a weighting-function study, whatever the grid
  return k;
}

}  // namespace tesk
