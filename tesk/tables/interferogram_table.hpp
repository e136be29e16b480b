// The interferogram table of study i (table90): the all-gases spectrum of
// table71 and the change that scaling the target makes to it, each as its
// interferogram (engine/interferogram.hpp).
#pragma once

#include <string>

#include "common/records.hpp"

namespace tesk {

// Reads the five-column rows of `table71` (table71_reader.hpp: wavenumber,
// target, other gases, all gases, all gases minus the scaled spectrum), pads
// the all-gases column x and the scaled spectrum y = x + difference with
// zeros to the next power of two N >= 2, transforms both and writes `table90`
// (created or replaced): per coefficient i = 1..N, x(i) and y(i) - x(i). Says
// so on the console. Throws rec::Stop(kInterferogramTooLong) for more rows
// than kMaxInterferogramRows; rec::RecordError for a missing or unreadable
// table71, one of four columns (table71_reader.hpp) or an unwritable table90.
void interferogram_table(const std::string& table71, const std::string& table90, rec::Console& console);

}  // namespace tesk
