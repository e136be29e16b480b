// Line finding of a study d: from the spectra of table71 and the line list to
// the microwindow list table76, one table after the other, each read back
// from disk by the next step (table72 to table76).
#pragma once

#include "common/records.hpp"
#include "tesk/linefind/samples.hpp"
#include "tesk/linefind/settings.hpp"

namespace tesk {

// Writes table72 to table76 and prints one console line per table; `read`
// fills the samples of table71 as the steps need them. Throws
// rec::Stop and rec::RecordError as the single steps do (target_lines.hpp,
// line_rating.hpp, ranking.hpp, window_optimisation.hpp, window_merging.hpp).
void find_lines(const LineFindSettings& settings, const LineFindFiles& files, const SampleReaders& read,
                rec::Console& console);

}  // namespace tesk
