// table72: every line of the target gas (and isotope) in the run's range, in
// line-list order, with its position, lower-state energy and the largest
// sensitivity of the spectrum to the target amount near it.
#pragma once

#include "common/records.hpp"
#include "tesk/linefind/samples.hpp"
#include "tesk/linefind/settings.hpp"

namespace tesk {

// From the samples of table71 (read by the caller; they stay for the rating
// of the lines), copies the header from the deck echo, and writes table72 from the target's lines of
// the line list between vlo and vhi. A line's sensitivity is the largest of
// samples 1..nsamp-1 (the last sample is not examined) within 0.1 cm-1 of it,
// or 0 without such a sample. Prints " Table72 (with target gas
// positions)". Throws rec::Stop for a header count outside 1..46,
// rec::RecordError for missing files and unreadable records or
// an unsorted line list.
void write_target_lines(const LineFindSettings& settings, const LineFindFiles& files, const TargetSamples& samples,
                        rec::Console& console);

}  // namespace tesk
