// The recommended microwindows of a line-finding study (table81): from the
// optimum window of every rated target line (table75), the windows a
// retrieval should fit, chosen one at a time by the smallest error of the
// target's column or the most degrees of freedom (input-plan), with what a
// retrieval from the first of them achieves.
#pragma once

#include "common/records.hpp"
#include "tesk/run/information_model.hpp"
#include "tesk/run/run_state.hpp"

namespace tesk {

// The step after the information step of a line-finding study: computes the
// derivatives of the recorded spectrum over every candidate window once,
// stretch by stretch, chooses the windows (window_selection.hpp), writes
// table81 and two console lines, under `model` (of `state`, whose path is
// set up). With noise 0 (deck line 33) nothing can be chosen: table81
// gets its heading only. Throws rec::Stop(kTooManyPoints) when the spectrum
// a stretch needs around it is longer than an interval may be; rec::Stop for
// the messages of the spectra; rec::RecordError for the files.
void recommend_windows(RunState& state, const InformationModel& model, rec::Console& console);

}  // namespace tesk
