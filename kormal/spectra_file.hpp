// spectra.out: the window's transmissions at every interior point strictly
// inside the window, rewritten for every window, so that after the run it
// holds the last window's spectra.
#pragma once

#include <string>

#include "kormal/analysis.hpp"
#include "kormal/window.hpp"

namespace kormal {

// Writes `path` from its start (status UNKNOWN): the header " 2 4 " and the
// column names, then wavenumber, target, all but the target and all gases.
// Throws rec::RecordError when the file cannot be written.
void write_spectra(const std::string& path, const WindowRecord& w, const WindowMeasures& m);

}  // namespace kormal
