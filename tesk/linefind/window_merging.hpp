// table76, the microwindow list that the interfering-gas program reads: the
// best-ranked windows whose temperature dependence is small enough, with
// overlapping windows combined up to the widest width allowed.
//
// Layout: line 1 holds "name     cm-1     window " (25 characters); every
// further line holds the gas label in columns 1-8, the window centre in
// columns 10-16 (f7.2, cm-1) and its width in columns 18-23 (f6.2, cm-1), in
// ranking order. No count line, no trailer.
#pragma once

#include "common/records.hpp"
#include "tesk/linefind/settings.hpp"

namespace tesk {

// Reads table75 (at most `maxwin` rows whose temperature dependence is not
// above `tsenslim`, with its sign) and writes table76. Overlapping windows
// are combined first: each window, best first, absorbs every later window
// closer than half their widths, as long as the combined span stays within
// `maxwidth` (cm-1); windows with equal centres keep the wider width whatever
// it is; windows that would grow too wide stay as they are. Then, for each
// window still there, best first, every later window whose centre lies
// closer than the sum of their widths is dropped. Prints " Table76 (overlapping
// m-windows combined) ", preceded by a line that gives the limit, the count
// and the smallest dependence when the limit removed every window.
// Throws rec::Stop for a header count outside 1..46;
// rec::RecordError for a missing or unreadable table75.
void combine_windows(const LineFindSettings& settings, const LineFindFiles& files, rec::Console& console);

}  // namespace tesk
