// The solar pseudo-gas: the lines of the sun's own spectrum, taken from
// solar.dat, rated like a gas of the atmosphere.
#pragma once

#include <string_view>

#include "kormal/analysis.hpp"
#include "kormal/gas_names.hpp"
#include "kormal/window.hpp"

namespace kormal {

inline constexpr double kSolarLow = 650.0;    // cm-1: windows must lie above ...
inline constexpr double kSolarHigh = 4606.4;  // ... and below these, both strictly

// Whether a window gets the solar pseudo-gas (when the deck asks for it).
bool solar_applies(const WindowRecord& w);

// Adds the solar pseudo-gas as species m.nspeci + 1 (entry "solar") when
// solar.dat covers the window: reads solar.dat on `inpath` (status OLD) as
// pairs of wavenumber and transmission, starting from the pair (640, 1);
// every interior point that lies between two pairs gets their mean, which
// multiplies t_others there (and y at the target's peak). A point on the
// wavenumber of the earlier pair counts as lying between them. Sets tmax,
// tmin, imax and rel = 1 - (tmax - tmin), abs = tmin. Returns false, and
// changes neither `gases` nor `m`, when the file ends before the window's
// last interior point (or the window has none). Throws rec::RecordError for
// a missing or unreadable file. Prints nothing.
bool add_solar_pseudo_gas(std::string_view inpath, const WindowRecord& w, int target, GasTable& gases,
                          WindowMeasures& m);

}  // namespace kormal
