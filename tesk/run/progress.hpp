// The console lines that tell how the compute steps of a spectral run go.
// The steps themselves print nothing: run control prints these after a step
// returns, or hands kernel_report() to the kernels, which report as they go.
#pragma once

#include "common/records.hpp"
#include "tesk/kernels/averaging_kernels.hpp"

namespace tesk {

class Progress {
 public:
  explicit Progress(rec::Console& console) : console_(console) {}

  void extinctions_done();            // the line pass of an interval is over
  void normalisation(double factor);  // the normalisation factor of the weighting functions
  void weighting_functions_done();
  // Prints each diagnostic of compute_averaging_kernels on its own line, on
  // the console this object was made with (which must outlive the report).
  KernelReport kernel_report();

 private:
  rec::Console& console_;
};

}  // namespace tesk
