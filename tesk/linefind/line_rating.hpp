// table73: the target lines of table72 rated for what makes a good line for a
// retrieval: the temperature dependence of their intensity, the interference
// of all other gases around them, and sensitivity minus interference.
#pragma once

#include "common/records.hpp"
#include "tesk/linefind/samples.hpp"
#include "tesk/linefind/settings.hpp"

namespace tesk {

// Relative temperature dependence of the intensity of a line of gas `gasno`
// at `position` with lower-state energy `lower_energy` (both cm-1), percent
// per K, over a 2 K step up from `temp` (K): the Boltzmann factor and the
// stimulated-emission term, times the partition-function ratio for the
// molecules that have one.
double temperature_dependence(int gasno, double position, double lower_energy, float temp);

// Reads table72 and writes table73, using the samples that write_target_lines
// kept. The interference of a line is the spread (highest minus lowest value)
// of the other-gases spectrum over samples 1..nsamp-1 closer than interfw/2 to
// it; a window without samples gives 0 - 1.0E10. Prints " Table73 (with
// infos on spectral lines)". Throws rec::Stop for a header count outside
// 1..46, rec::RecordError for a missing or unreadable table72.
void rate_target_lines(const LineFindSettings& settings, const LineFindFiles& files, const TargetSamples& samples,
                       rec::Console& console);

}  // namespace tesk
