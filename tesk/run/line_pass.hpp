// The line pass of one interval: every line of the list that can reach the
// interval adds its Voigt profile, at every layer of the path, to the optical
// depth of its spectrum class.
#pragma once

#include <optional>
#include <vector>

#include "inputs/line_list.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/engine/spectra.hpp"
#include "tesk/engine/spectrum_setup.hpp"
#include "tesk/run/run_state.hpp"

namespace tesk {

// How a line's profile is walked: by blocks in vector loops (what runs use),
// or point by point (the reference, for comparisons and benchmarks). Both
// give the same bits.
enum class ProfileWalk { blocked, plain };

// The wavenumbers whose lines count for an interval, each line within the
// margin of the deck of them: by default the interval itself.
struct LineReach {
  float from = 0.0f;
  float to = 0.0f;
};

// Reads the records whose lines lie within s.margin of the interval `g`, or
// of `reach` when given (each
// record read once, kept in `lines`), then adds them layer by layer along
// the path of `m` into classes 1 (target: gas s.target.gas, its isotope, and
// for the difference studies only inside the target layer) and 2
// (everything else) of `ext`, so that the work of one layer touches only
// that layer's rows. Wings are followed down to s.wing_threshold. The layers
// run in parallel (parallel_for.hpp); each row receives its lines in list
// order, so the optical depths are the same bits for any number of threads.
// Lines of a gas the program has no mixing ratio for (number below 1 or
// above kMaxGases) add nothing. Returns the number of line-layer-point
// additions. Throws rec::RecordError for an unreadable or unsorted list.
// Touches no console.
long long add_interval_lines(const SpectrumSetup& s, const PathModel& m, const IntervalGrid& g,
                             inputs::LineList& list, Extinction& ext, std::vector<inputs::LineRecord>& lines,
                             ProfileWalk walk = ProfileWalk::blocked, std::optional<LineReach> reach = {});

}  // namespace tesk
