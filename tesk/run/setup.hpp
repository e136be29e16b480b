// The setup values of the compute steps, built from the deck once per run.
#pragma once

#include "tesk/engine/spectrum_setup.hpp"
#include "tesk/run/deck.hpp"

namespace tesk {

// The rules of the deck's own spectra. Precondition: finish_deck has run.
SpectrumSetup spectrum_setup(const Deck& d);

// The same atmosphere, path, instrument, units and noise as `s` in a kernel
// study: target lines are target at every level, and line wings are followed
// as that study follows them.
SpectrumSetup kernel_study_setup(const SpectrumSetup& s);

}  // namespace tesk
