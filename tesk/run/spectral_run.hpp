// The spectral run of a complete run: the range is cut into intervals of at
// most kMaxIntervalSteps grid steps, and for each interval the lines are
// added into optical depths, turned into spectra, multiplied by the solar
// spectrum, convolved with the instrument line shape and written to table71;
// the weighting-function studies go on to weighting functions and kernels.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "common/records.hpp"
#include "inputs/line_list.hpp"
#include "tesk/engine/solar_spectrum.hpp"
#include "tesk/engine/spectrum_setup.hpp"
#include "tesk/run/line_pass.hpp"
#include "tesk/run/run_state.hpp"

namespace tesk {

inline constexpr std::string_view kTooManyPoints = "Increase number of spectral points mp in TESK";
inline constexpr std::string_view kTooFewPoints = "Increase spect. range (or decrease grid)";
inline constexpr std::string_view kTooManyKernelStudyPoints = "Decrease spectral range (or increase grid)";

// Runs the intervals of the deck's range, then writes table70 and, for the
// weighting-function studies, table77 (and table78 for the kernel study).
// Sets up the air path first. Prints progress on the console, and after the
// last interval how many lines of the target lie in the range. Throws
// rec::Stop for a size limit (intervals already finished keep their rows in
// table71) and the messages of the steps it calls; rec::RecordError for
// missing or unreadable input files. The limits of the intervals' points and
// of the line shape's transform are checked for every interval before the
// first line pass.
void run_spectra(RunState& state, rec::Console& console);

// The path segments of `m` as the weighting functions and table70 see them:
// layer, temperature, mixing ratio of the target gas s.target.gas and altitude.
std::vector<Segment> path_segments(const SpectrumSetup& s, const PathModel& m);

// The spectra of the interval `g` under the rules `s`: clears the interval's
// optical depths and spectra in `w`, adds the lines of `list` (line_pass.hpp),
// forms the combined classes, and computes each class's spectrum along the
// path of `m`, multiplied by the solar spectrum `sun` for transmission with
// the sun, convolved with the instrument line shape, in the units of the
// setup. Calls `extinctions_done` (when given) after the line pass. The
// classes are computed in parallel; a stop is the one of the lowest class,
// as a loop in class order would meet it first. Throws rec::Stop for a
// negative temperature of a radiance spectrum, a convolution too long and the
// messages of the steps it calls; rec::RecordError for the line list or the
// solar spectrum. Touches no console itself.
void compute_interval_spectra(const SpectrumSetup& s, const PathModel& m, SolarSpectrum& sun, const IntervalGrid& g,
                              inputs::LineList& list, IntervalWork& w,
                              const std::function<void()>& extinctions_done = {});

// As compute_interval_spectra, but forms the spectrum of all gases
// (kAllClass) alone: the optical depths of the target, the other gases and
// all gases are filled as there, the other classes' spectra are left as
// they were; the lines are those of `reach` when given (line_pass.hpp). For
// the derivatives of a recorded spectrum, which need no other spectrum.
void compute_all_gases_spectrum(const SpectrumSetup& s, const PathModel& m, SolarSpectrum& sun,
                                const IntervalGrid& g, inputs::LineList& list, IntervalWork& w,
                                std::optional<LineReach> reach = {});

// The intervals of the deck's range vlo..vhi at its grid, in order: one for
// the weighting-function studies. However many the range needs: none is
// longer than kMaxIntervalSteps steps. No files, no console.
std::vector<IntervalGrid> interval_grids(const Deck& d);

// The points limits of one interval with last point index `npts` on a path of
// `nseg` segments (0 before the path is known: then only the deck's answers
// count). Throws rec::Stop with kTooManyPoints (and a detail line with the
// steps), kTooFewPoints or kTooManyKernelStudyPoints, in that order.
void check_interval_points(const Deck& d, int npts, int nseg);

// The number of intervals of the range vlo..vhi at `grid` (cm-1), before the
// single-interval rule of the weighting-function studies. A range that is an
// exact multiple k >= 2 of the interval width is k intervals.
int interval_count(float vlo, float vhi, float grid);

}  // namespace tesk
