// Slant columns and mean Lorentz widths of every species, and the per-species
// line spectra that the window's lines fill. The air path is one slant path
// at a fixed zenith angle through slabs of an exponential pressure profile,
// one slab per level of the atmosphere file, as thick as the level stands for.
#pragma once

#include "common/arrays.hpp"
#include "kormal/atmosphere.hpp"
#include "kormal/deck.hpp"
#include "kormal/limits.hpp"

namespace kormal {

struct SpeciesData {
  // The path of the columns: solar zenith angle, degrees, from 0 to below 90.
  double zenith_angle = kDefaultZenithAngle;
  rec::Levels<float> col{kMaxSpecies};   // slant column, molecules cm-2
  rec::Levels<double> gl{kMaxSpecies};   // mean Lorentz half width, cm-1
  // Optical depth that each species' lines put into the grid point nearest
  // to them: row g, grid points 0..kMaxGridPoints.
  rec::Table<double> od{kMaxSpecies, kMaxGridPoints + 1};
};

// The slant factor 1/cos of a zenith angle (degrees, 0 to below 90), formed
// in double with rec::kPiFourDecimals (3.1415) for pi and kept in 32 bits.
float slant_factor(double zenith_angle);

// For species 1..atm.nspeci: col, and gl as the pressure-weighted mean of
// 0.1 cm-1 atm-1 over the levels, with the pressure 1.024 exp(-z/7) atm
// (never taken below 0.1 in the width). Each level weighs as the thickness
// it stands for: half the distance to each neighbour, an end level the whole
// distance to its one neighbour, a lone level 1 km. Clears their line spectra.
void compute_columns(const Atmosphere& atm, SpeciesData& species);

}  // namespace kormal
