// table75: every ranked line gets the window that reaches from the most
// transparent point of the all-gases spectrum on its left to the most
// transparent point on its right (highest transmission; lowest radiance, or
// highest radiance in front of a background hotter than the path),
// never nearer to the line than D and never farther than W/2.
#pragma once

#include "common/records.hpp"
#include "tesk/linefind/samples.hpp"
#include "tesk/linefind/settings.hpp"

namespace tesk {

// From the samples of table71 (read by the caller) and table74, writes
// table75: the rows of table74 (103 characters) with columns 10 to 23
// holding the centre and width of the line's window. Its edges are, on each side, the sample of the part
// [position - W/2, position - D] or [position + D, position + W/2] with the
// largest all-gases value above 0.0 (`transrad` a), the smallest below
// 1.0E24 (r), or with `hot_background` (r) the largest above 0.0 and below
// 1.0E24, the first such sample (lowest wavenumber) among equal values;
// a part without such a sample leaves its edge at position -/+ W/2. All
// samples 1..np are searched. Prints " Table75 (optimum window size
// determined)". Throws rec::Stop for a header count outside 1..46,
// rec::RecordError for missing or unreadable tables.
void optimise_windows(const LineFindSettings& settings, const LineFindFiles& files, const WindowSamples& samples,
                      rec::Console& console);

}  // namespace tesk
