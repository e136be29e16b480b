// Information content of the microwindows of a line-finding study: for every
// window of table76 the derivatives of the spectrum the instrument records
// over the window (window_derivatives.hpp), and from them the degrees of
// freedom, covered altitudes and error budget of the target's column of a
// retrieval from that window alone and from all windows together (table79),
// with the averaging kernels of all windows together (table80).
#pragma once

#include <utility>

#include "common/records.hpp"
#include "tesk/engine/interval_grid.hpp"
#include "tesk/run/information_model.hpp"
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

// Sets up the air path and its segments when the run has not (a sort run),
// as the information step and the window recommendation need them.
void set_up_information_path(RunState& state);

// The step after table76 of a line-finding study (complete and sort runs):
// writes table79 and table80 and one console line per window, then the
// degrees of freedom and column error of all windows together, under
// `model` (of `state`, its path set up). The a-priori and the
// uncertainties of the other gases and the temperature are state.plan's.
// With a noise of 0 (deck line 33) the windows have no information matrix:
// their rows say " singular" and table80 keeps its header. Throws
// rec::Stop(kTooManyPoints) when a window with the points the instrument
// needs around it has more grid steps than an interval may, before any
// window is computed; rec::Stop for the messages of the spectra;
// rec::RecordError for the files.
void window_information(RunState& state, const InformationModel& model, rec::Console& console);

// The same with the path set up here when needed and a model of its own.
void window_information(RunState& state, rec::Console& console);

}  // namespace tesk
