// The rules of a spectrum computation, built once from the deck by run
// control: what is computed (study, quantity, units), for which target, and
// through which instrument. The line pass, the spectrum steps, the weighting
// functions and the kernels take this value and the arrays they read and
// fill; a caller that wants other rules (a kernel study over one
// microwindow) builds another value and calls the same steps.
#pragma once

#include "tesk/options.hpp"
#include "tesk/study.hpp"

namespace tesk {

// The gas whose lines form spectrum class 1 and the layer it counts in.
struct TargetGas {
  int gas = 0;            // program gas number 1..52
  int isotope = 0;        // 0: every isotope
  float layer_low = 0.0f;   // km: the difference studies count the target as
  float layer_high = 0.0f;  // target only in layers at altitudes low..high
  float factor = 0.0f;    // factor on the target's optical depth in class 4
};

// The Fourier-transform spectrometer the spectra are seen through.
struct Instrument {
  float resolution = 0.0f;  // cm, maximum optical path difference; 0: no convolution
  float fov_area = 0.0f;    // sr, solid angle of the field of view; 0: none
  bool convolves() const { return resolution != 0.0f; }
};

// The uncertainties of a retrieval, as the kernels square them.
struct RetrievalNoise {
  float noise = 0.0f;          // of the normalised spectrum
  float apriori_sigma = 0.0f;  // of the mixing ratio
};

struct SpectrumSetup {
  Study study = Study::spectra;
  Quantity quantity = Quantity::transmission;
  Units units = Units::radiance;
  Normalisation normalisation = Normalisation::normalised;
  bool solar = false;             // transmission spectra multiplied by the solar spectrum
  Geometry geometry = Geometry::ground;
  float background_temp = 0.0f;   // K, blackbody behind the atmosphere
  float margin = 0.0f;            // cm-1, reach of the lines around an interval
  float wing_threshold = 0.0f;    // optical depth below which a line wing is dropped
  TargetGas target;
  Instrument instrument;
  RetrievalNoise retrieval;
};

}  // namespace tesk
