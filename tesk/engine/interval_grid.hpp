// The spectral grid of one interval: points j = 0..npts at vstart + j grid
// (cm-1, computed in single precision). Every routine that works on an
// interval's points takes this one value, so start and spacing cannot be
// swapped at a call.
#pragma once

namespace tesk {

struct IntervalGrid {
  float vstart = 0.0f;  // cm-1, point 0
  float vend = 0.0f;    // cm-1, the interval's upper limit (the last point lies at or next to it)
  float grid = 0.0f;    // cm-1, > 0
  int npts = 0;         // last point index

  // Wavenumber of point j, in the single precision the tables print.
  float nu(int j) const { return vstart + static_cast<float>(j) * grid; }
};

}  // namespace tesk
