// Information content of the microwindows of a line-finding study: for every
// window of table76 the target's weighting functions over the window's grid
// points, as a kernel study whose range is the window computes them, and the
// degrees of freedom and covered altitudes of a retrieval from that window
// alone and from all windows together (table79), with the averaging kernels
// of all windows together (table80).
#pragma once

#include <span>
#include <utility>

#include "common/records.hpp"
#include "inputs/line_list.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/kernels/matrix_ops.hpp"
#include "tesk/limits.hpp"
#include "tesk/run/run_state.hpp"
#include "tesk/tables/information_table.hpp"

namespace tesk {

// The lower and upper edge (cm-1) of a window: centre -+ width / 2, taken
// from the two-decimal values table76 prints, so that they are the numbers a
// deck would give for a range that is the window.
std::pair<float, float> window_edges(const MicroWindow& w);

// The grid of a range vlo..vhi as a run of one interval lays it: points
// 0..npts from vlo, npts the nearest integer of (vhi - vlo) / grid.
IntervalGrid range_grid(float vlo, float vhi, float grid);

// The arrays the information of a range is computed in: the spectra of the
// range and the weighting functions of its pieces.
struct RangeWork {
  IntervalWork& work;
  Matrix& info;  // K^T Se^-1 K, added to
};

// Computes the spectra of the range `g` into `r.work` under the rules `s`
// (a kernel study, kernel_study_setup) along the path of `m`, as a run of
// that study over the range computes them, then adds the information
// K^T Se^-1 K of its g.npts + 1 points to r.info (information_content.hpp),
// `piece` points at a time (1..kMaxKernelPoints): the normalisation is that
// of the whole range, so the pieces add up to what one matrix of all points
// would give. `segments` are the path's (path_segments). Returns false when
// the noise of `s` is 0 (Se has no inverse); r.info is then unchanged.
// Touches no console. Throws rec::Stop for a convolution too long, a matrix
// number too big and the messages of the steps it calls; rec::RecordError
// for the line list and the solar spectrum.
bool add_range_information(const SpectrumSetup& s, const PathModel& m, std::span<const Segment> segments,
                           SolarSpectrum& sun, const IntervalGrid& g, inputs::LineList& list, const RangeWork& r,
                           int piece = kMaxKernelPoints);

// The step after table76 of a line-finding study (complete and sort runs):
// writes table79 and table80 and one console line per window, then the
// degrees of freedom of all windows together. Sets up the air path when the
// run has not (a sort run). A window whose matrices have no inverse gets the
// row " singular" and the run goes on. Throws rec::Stop(kTooManyPoints) when
// a window has more grid steps than an interval may, before any window is
// computed; otherwise as add_range_information; rec::RecordError for the files.
void window_information(RunState& state, rec::Console& console);

}  // namespace tesk
