// The solar spectrum file as a source of samples for the spectrum engine
// (engine/solar_spectrum.hpp).
#pragma once

#include <string>

#include "tesk/engine/solar_spectrum.hpp"

namespace tesk {

// The samples of "solar.dat" on the input prefix `inpath`
// (inputs/solar_file.hpp): the file is opened at the first call, its first
// record (a header pair) is skipped, and each call gives the next pair. The
// calls throw rec::RecordError for a missing file or an unreadable value.
SolarSpectrum::Source solar_file_source(std::string inpath);

}  // namespace tesk
