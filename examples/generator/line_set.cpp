// Constants of the bands, with their sources:
// - 12C16O: Be, alpha_e, De from K. P. Huber and G. Herzberg, Constants of
//   Diatomic Molecules (1979); band origin 2143.2711 cm-1 as measured by
//   Guelachvili et al. (1983). Band strength: laboratory measurements of the
//   fundamental give 260-280 cm-2 atm-1 at 273.15 K (e.g. Chackerian and
//   Tipping 1983); we take 280, i.e. 1.042e-17 cm-1/(molecule cm-2).
// - 13C16O: the same constants carried over by the isotope relations of the
//   Dunham expansion (B ~ 1/mu, alpha_e ~ mu^-3/2, D ~ mu^-2); band origin
//   2096.07 cm-1; band strength per molecule scaled by mu(12CO)/mu(13CO), as
//   for a harmonic oscillator.
// - 14N2 16O nu3: band origin 2223.7567 cm-1 and rotational constants from
//   R. A. Toth, Appl. Opt. 30, 5289 (1991); band strength about 5e-17
//   cm-1/(molecule cm-2), the size of the band in the standard line compilations.
// - Natural abundances (12C16O 0.986544, 13C16O 0.011084, 14N2 16O 0.990333)
//   as adopted by HITRAN; intensities include them, as in a real list.
// Ozone (the nu1+nu3 band near 2110.78 cm-1) and water (far lines of the
// bending band) are statistical stand-ins: lines drawn around an envelope of
// the right size, deterministic but not a spectrum of the real molecules.
#include "examples/generator/line_set.hpp"

#include <algorithm>
#include <cmath>
#include <random>

#include "common/records.hpp"

namespace example {
namespace {

// Atomic masses, u, as the Atomic Mass Evaluation tabulates them.
constexpr double kMassC12 = 12.0;
constexpr double kMassC13 = 13.0033548;
constexpr double kMassO16 = 15.9949146;
constexpr double kLoschmidt = 2.6867811e19;  // molecules cm-3 at 273.15 K, 1 atm (CODATA 2014)

double reduced_mass(double m1, double m2) { return m1 * m2 / (m1 + m2); }

// Huber and Herzberg (1979), X 1Sigma+ of 12C16O.
constexpr double kCoBe = 1.93128087;
constexpr double kCoAlpha = 0.01750441;
constexpr double kCoDe = 6.12147e-6;

LinearBand co_band(double mass_ratio, double origin, double abundance, int isotope) {
  // mass_ratio = mu(12CO) / mu(isotopologue)
  LinearBand b;
  b.molecule = kCO;
  b.isotope = isotope;
  b.origin = origin;
  const double be = kCoBe * mass_ratio;
  const double alpha = kCoAlpha * std::pow(mass_ratio, 1.5);
  b.b_lower = be - 0.5 * alpha;
  b.b_upper = be - 1.5 * alpha;
  b.d_lower = b.d_upper = kCoDe * mass_ratio * mass_ratio;
  b.band_strength = 280.0 / kLoschmidt * mass_ratio * abundance;
  b.max_j = 45;
  // Measured CO air widths fall from about 0.078 at |m| = 1 to 0.05 at high J.
  b.width_far = 0.0513;
  b.width_near = 0.0284;
  b.width_scale = 7.5;
  b.self_over_air = 1.12;
  b.temp_exponent = 0.74;
  b.shift = -0.003;
  return b;
}

// Uniform number in (0, 1) from the 32 bits of a standardised engine, so the
// list is the same with every standard library.
double uniform(std::mt19937& g) { return (static_cast<double>(g()) + 0.5) / 4294967296.0; }

// Ozone nu1+nu3: an asymmetric top drawn as a near-prolate rotor with
// A = 3.5537, (B+C)/2 = 0.4201 cm-1 (ground state), levels J, K with
// E'' = Bbar J(J+1) + (A - Bbar) K^2, P and R lines spread by a random
// offset of up to 0.4 cm-1 for the K structure. The band's lines sum to 1e-19.
std::vector<ExampleLine> ozone_lines(double lo, double hi) {
  constexpr double kOrigin = 2110.7845;
  constexpr double kA = 3.5537;
  constexpr double kBbar = 0.4201;
  constexpr double kBandStrength = 1.0e-19;
  std::mt19937 g(2110);
  std::vector<ExampleLine> all;
  double sum = 0.0;
  for (int j = 0; j <= 50; ++j) {
    for (int k = 0; k <= std::min(j, 15); ++k) {
      for (int branch = 0; branch < 2; ++branch) {
        const bool r = branch == 1;
        if (!r && j == 0) continue;
        const int m = r ? j + 1 : -j;
        ExampleLine line;
        line.molecule = kO3;
        line.position = kOrigin + 2.0 * kBbar * m + 0.8 * (uniform(g) - 0.5);
        line.lower_energy = kBbar * j * (j + 1) + (kA - kBbar) * k * k;
        line.intensity = std::abs(m) * (k == 0 ? 1.0 : 2.0) *
                         std::exp(-kC2 * line.lower_energy / kReferenceTemperature);
        sum += line.intensity;
        line.air_width = 0.078 - 0.0004 * j;
        line.self_width = 1.3 * line.air_width;
        line.temp_exponent = 0.76;
        line.shift = -0.0015;
        all.push_back(line);
      }
    }
  }
  std::vector<ExampleLine> kept;
  for (ExampleLine& line : all) {
    line.intensity *= kBandStrength / sum;
    if (line.position >= lo && line.position <= hi) kept.push_back(line);
  }
  return kept;
}

// Water: scattered weak lines of high lower-state energy, intensities spread
// evenly in log between 1e-25 and 5e-23, as the far wing of the bending band
// shows them here. Self widths about five times the air widths, as for water.
std::vector<ExampleLine> water_lines(double lo, double hi) {
  std::mt19937 g(1595);
  std::vector<ExampleLine> lines;
  for (int i = 0; i < 80; ++i) {
    ExampleLine line;
    line.molecule = kH2O;
    line.position = kListStart + (kListEnd - kListStart) * uniform(g);
    line.intensity = std::pow(10.0, -25.0 + 2.7 * uniform(g));
    line.lower_energy = 300.0 + 2500.0 * uniform(g);
    line.air_width = 0.03 + 0.07 * uniform(g);
    line.self_width = std::min(0.9, 5.0 * line.air_width);
    line.temp_exponent = 0.45 + 0.35 * uniform(g);
    line.shift = -0.005;
    if (line.position >= lo && line.position <= hi) lines.push_back(line);
  }
  return lines;
}

// 13C16O, 1-0.
LinearBand co13_fundamental() {
  const double ratio = reduced_mass(kMassC12, kMassO16) / reduced_mass(kMassC13, kMassO16);
  return co_band(ratio, 2096.0700, 0.011084, 2);
}

// 14N2 16O, nu3.
LinearBand n2o_antisymmetric() {
  LinearBand b;
  b.molecule = kN2O;
  b.isotope = 1;
  b.origin = 2223.7567;
  b.b_lower = 0.41901097;
  b.b_upper = 0.41555827;
  b.d_lower = b.d_upper = 1.761e-7;  // the small change of D with nu3 is left out
  b.band_strength = 5.0e-17 * 0.990333;
  b.max_j = 130;
  b.width_far = 0.068;
  b.width_near = 0.028;
  b.width_scale = 20.0;
  b.self_over_air = 1.3;
  b.temp_exponent = 0.75;
  b.shift = -0.002;
  return b;
}

// One record of the list; see line_record.
const rec::Format kRecord("(i2,i1,f12.6,1pe10.3,10x,f5.4,f5.4,f10.4,f4.2,f8.6,2i3)");

}  // namespace

LinearBand co_fundamental() { return co_band(1.0, 2143.2711, 0.986544, 1); }

std::vector<ExampleLine> example_lines(double lo, double hi) {
  std::vector<ExampleLine> lines;
  for (const LinearBand& band : {co_fundamental(), co13_fundamental(), n2o_antisymmetric()}) {
    const std::vector<ExampleLine> part = band_lines(band, lo, hi);
    lines.insert(lines.end(), part.begin(), part.end());
  }
  for (const auto& part : {ozone_lines(lo, hi), water_lines(lo, hi)}) {
    lines.insert(lines.end(), part.begin(), part.end());
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const ExampleLine& a, const ExampleLine& b) { return a.position < b.position; });
  return lines;
}

std::string line_record(const ExampleLine& line) {
  std::string record(kRecordLength, ' ');
  rec::write_internal(record, kRecord,
                      {line.molecule, line.isotope, line.position, line.intensity, line.air_width,
                       line.self_width, line.lower_energy, line.temp_exponent, line.shift, 0, 0});
  if (record.find('*') != std::string::npos) {
    throw rec::RecordError("example line list: a value does not fit its field: " + record);
  }
  return record;
}

}  // namespace example
