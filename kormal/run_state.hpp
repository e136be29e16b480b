// The state of one run of the interfering-gas program: the deck's answers,
// the file names, the gas-name table of the current window, its atmosphere,
// line spectra and measures. Created once by run control, every array sized
// at start, and passed by reference to every step.
#pragma once

#include "kormal/analysis.hpp"
#include "kormal/atmosphere.hpp"
#include "kormal/columns.hpp"
#include "kormal/deck.hpp"
#include "kormal/gas_names.hpp"

namespace kormal {

struct RunState {
  KormalDeck deck;
  FileNames names;
  GasTable gases;
  Atmosphere atm;
  SpeciesData species;
  WindowMeasures measures;
};

}  // namespace kormal
