// The measures of one window: each species' convolved optical depth, its
// extremes and peak, the transmission of the target and of all the others,
// the target's contribution at its peak, and the ranking of the species by
// how strongly they interfere.
#pragma once

#include <vector>

#include "common/arrays.hpp"
#include "kormal/columns.hpp"
#include "kormal/limits.hpp"
#include "kormal/window.hpp"

namespace kormal {

inline constexpr double kMaxOpticalDepth = 100.0;  // larger depths are taken as 100 before exp
inline constexpr double kNoMinimum = 1e22;         // tmin before the first point

struct WindowMeasures {
  int nspeci = 0;  // species ranked, the solar pseudo-gas included
  rec::Levels<double> tmax{kMaxSpecies};  // largest optical depth (solar: transmission)
  rec::Levels<double> tmin{kMaxSpecies};  // smallest
  rec::Levels<int> imax{kMaxSpecies};     // grid point of the largest
  // Transmissions, then percentages. The one the ranking sorted is indexed by
  // rank (the species at rank k is order(k)), the other by gas number.
  rec::Levels<double> rel{kMaxSpecies};   // rel.-trans: how much the absorption varies
  rec::Levels<double> abs{kMaxSpecies};   // abs.-trans: the largest absorption
  rec::Levels<int> order{kMaxSpecies};
  rec::Levels<double> t_target{kMaxGridPoints};  // target transmission at points 1..n
  rec::Levels<double> t_others{kMaxGridPoints};  // transmission of all other species
  double s0 = 0.0;  // optical depth of the others at the target's peak
  double x = 0.0;   // target transmission at its peak
  double y = 0.0;   // transmission of the others at the target's peak
  double total = 0.0;         // % transmission of all gases at the target's peak
  double contribution = 0.0;  // % absorbed by the target at its peak, seen through the others

  // Scratch of the convolution, sized once.
  std::vector<double> weights = std::vector<double>(kMaxGridPoints + 1);
  std::vector<double> sums = std::vector<double>(kMaxGridPoints + 1);
  std::vector<double> tau = std::vector<double>(kMaxGridPoints + 1);
};

// Convolves species 1..nspeci, the target first and then upward with a wrap,
// over the interior points w.k..w.n-w.k, and sets tmax, tmin, imax, rel,
// abs, t_target, t_others, s0, x and y. A species whose optical depth is zero
// at every interior point keeps w.k as its peak. A species without lines in
// the window is not convolved: its depth is 0 everywhere.
void analyse_species(const WindowRecord& w, int target, int nspeci, const SpeciesData& species,
                     WindowMeasures& m);

// Sorts the species (m.nspeci of them) by rel.-trans (sort letter d) or
// abs.-trans (a), ascending and stable, turns both measures into
// percentages, and sets total and contribution.
void rank_species(char sortkey, WindowMeasures& m);

}  // namespace kormal
