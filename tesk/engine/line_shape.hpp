// Line shapes and absorption coefficients: a line's intensity at a level's
// temperature and path, its Doppler and Lorentz half widths, and the
// accumulation of its area-normalised Voigt profile into the optical depths
// of one spectrum class and level on the interval's grid. No files, no console.
#pragma once

#include <span>

#include "tesk/engine/interval_grid.hpp"

namespace tesk {

// A line as its intensity at a layer needs it. The isotope plays no part:
// line intensities carry the abundance.
struct LineData {
  int gas = 0;        // program gas number
  double nu0 = 0.0;   // cm-1, > 0
  double s296 = 0.0;  // cm-1/(molecule cm-2) at 296 K
  double elow = 0.0;  // cm-1, lower-state energy
};

// A layer as a line's intensity in the path through it needs it.
struct LayerData {
  float temp = 0.0f;     // K, > 0
  float column = 0.0f;   // molecules cm-2 km-1, air density
  float pathfac = 0.0f;  // km of path per km, or km
};

// Line strength of one line in one layer's path per unit mixing ratio, in
// molecules cm-2 x cm-1/(molecule cm-2): the 296 K intensity moved to the
// layer's temperature by the Boltzmann factor of the lower-state energy, the
// stimulated emission at nu0 and the partition-function ratio of the gas
// (ratio 1 for gases without partition data), times the layer's air density
// and path factor. Throws rec::Stop (partition data) only for a gas number
// below 1.
double line_intensity_at(const LineData& line, const LayerData& layer);

// Doppler half width at half maximum (cm-1) of a line of program gas `gas`
// at `nu0` (cm-1) and `temp` (K): sqrt(2 ln2 k T / m) nu0 / c with the
// tabulated mass for gases 1..53; a fixed relative width of 2e-6 for gases
// above 53. Precondition: gas >= 1.
float doppler_halfwidth(int gas, double nu0, float temp);

// Lorentz (pressure-broadened) half width (cm-1) at pressure `pres` (hPa)
// and `temp` (K, > 0) of a line with air-broadened half width `gamma_air`
// (cm-1 atm-1 at 296 K) and temperature exponent `temp_exponent`. Self
// broadening and the pressure shift are not modelled.
float lorentz_halfwidth(float pres, float gamma_air, float temp_exponent, float temp);

// Where a line lies and how wide it is.
struct LineProfile {
  double nu0 = 0.0;      // cm-1, line position
  float alpha_d = 0.0f;  // cm-1, Doppler half width at half maximum, > 0
  float alpha_l = 0.0f;  // cm-1, Lorentz half width, >= 0
};

// Adds the Voigt profile of a line of integrated optical depth `s_l`
// (cm-1) at position p.nu0 with the half widths of `p` to `row`, the
// optical depths at the points j = 0..g.npts of the interval grid `g`.
// A line outside g.vstart..g.vend is walked from the nearest edge inwards; each
// wing stops at the first point where s_l times the unnormalised Voigt
// function falls below `wing_threshold` (outside lines do not add that
// point, inside lines add it on both sides). A line inside is put on its
// nearest grid point. Returns the number of grid points it added to.
// Precondition: row.size() > g.npts when g.npts >= 0; a negative npts adds nothing.
// Finds where each wing ends block by block and evaluates the blocks in
// vector loops (the widest vector unit of the machine, chosen at each call);
// every value and the point where each wing ends are, bit for bit, those of
// add_voigt_line_plain. Safe to call from several threads on different rows.
int add_voigt_line(std::span<double> row, double s_l, const IntervalGrid& g, const LineProfile& p,
                   float wing_threshold);

// The vector units the blocked walk is compiled for (x86-64 with GCC; elsewhere
// only the baseline), each giving the same bits.
enum class VectorUnit { baseline, avx2, avx512f };

// Whether this machine can run the walk compiled for `unit`.
bool vector_unit_available(VectorUnit unit);

// add_voigt_line with the walk compiled for `unit`, which must be available:
// add_voigt_line takes the widest the machine has, tests take each.
int add_voigt_line_on(VectorUnit unit, std::span<double> row, double s_l, const IntervalGrid& g,
                      const LineProfile& p, float wing_threshold);

// The same profile walked point by point, one evaluation and one threshold
// test per point: the readable reference of add_voigt_line, same arguments,
// same result.
int add_voigt_line_plain(std::span<double> row, double s_l, const IntervalGrid& g, const LineProfile& p,
                         float wing_threshold);

}  // namespace tesk
