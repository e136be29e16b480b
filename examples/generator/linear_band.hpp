// Lines of a parallel rotation-vibration band of a linear molecule (a
// diatomic such as CO, or the antisymmetric stretch of N2O): positions from
// the rotational constants of the two vibrational states, intensities from the
// band strength shared out by Boltzmann populations and Hoenl-London factors.
// Synthetic data for learning the programs, not a line database.
#pragma once

#include <vector>

namespace example {

// One line of the example list, in the units of the 100-character layout.
struct ExampleLine {
  int molecule = 0;           // HITRAN molecule number
  int isotope = 1;            // 1 = most abundant
  double position = 0.0;      // cm-1
  double intensity = 0.0;     // cm-1/(molecule cm-2) at 296 K, natural abundance included
  double air_width = 0.0;     // HWHM at 296 K and 1 atm, cm-1 atm-1
  double self_width = 0.0;    // cm-1 atm-1
  double lower_energy = 0.0;  // E'', cm-1
  double temp_exponent = 0.0; // of the air width
  double shift = 0.0;         // air pressure shift, cm-1 atm-1
};

// Second radiation constant hc/k, cm K: CODATA 2018 (exact since h, c and k
// are fixed by the SI) to eight digits. The generator's own value, for its
// synthetic intensities; the programs keep the rounder values their stored
// runs were computed with.
inline constexpr double kC2 = 1.4387769;
// Reference temperature of the line intensities, K.
inline constexpr double kReferenceTemperature = 296.0;

// A band between the ground state and one excited vibrational state.
struct LinearBand {
  int molecule = 0;
  int isotope = 1;
  double origin = 0.0;         // band origin, cm-1
  double b_lower = 0.0;        // rotational constant B of the lower state, cm-1
  double d_lower = 0.0;        // centrifugal distortion D of the lower state, cm-1
  double b_upper = 0.0;        // cm-1
  double d_upper = 0.0;        // cm-1
  double band_strength = 0.0;  // sum of the band's line intensities at 296 K, cm-1/(molecule cm-2)
  int max_j = 0;               // highest lower-state J generated
  // Air width against |m| (m = J''+1 in R, -J'' in P): w_inf + w_0 exp(-|m|/m_0), cm-1 atm-1.
  double width_far = 0.0;
  double width_near = 0.0;
  double width_scale = 1.0;
  double self_over_air = 1.0;  // self width / air width
  double temp_exponent = 0.75;
  double shift = 0.0;          // cm-1 atm-1
};

// Rotational term value F(J) = B J(J+1) - D J^2 (J+1)^2, cm-1.
double rotational_term(double b, double d, int j);

// Line position of the transition J'' -> J' = J'' + 1 (R) or J'' - 1 (P), cm-1.
double line_position(const LinearBand& band, int j_lower, bool r_branch);

// Every P and R line of the band with lower J up to band.max_j whose position
// lies in [lo, hi] cm-1, in no particular order.
std::vector<ExampleLine> band_lines(const LinearBand& band, double lo, double hi);

}  // namespace example
