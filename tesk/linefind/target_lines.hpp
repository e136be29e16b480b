// table72: every line of the target gas (and isotope) in the run's range, in
// line-list order, with its position, lower-state energy and the largest
// sensitivity of the spectrum to the target amount near it.
#pragma once

#include <string>
#include <string_view>

#include "common/records.hpp"
#include "tesk/linefind/samples.hpp"
#include "tesk/linefind/settings.hpp"

namespace tesk {

// How many lines of the target lie in the run's range: of the gas with every
// isotope, and of the chosen isotope.
struct TargetLineCount {
  long long gas = 0;
  long long isotope = 0;
};

// The console line of `count` for the gas `gasname` (7 characters, blank
// padded) and `isotope` (0: none chosen, and the isotope count is left out),
// e.g. " 57 lines of co in the range, 50 of isotope 1". No console itself.
std::string target_count_line(std::string_view gasname, int isotope, const TargetLineCount& count);

// From the samples of table71 (read by the caller; they stay for the rating
// of the lines), copies the header from the deck echo, and writes table72 from the target's lines of
// the line list between vlo and vhi. A line's sensitivity is the largest of
// samples 1..nsamp-1 (the last sample is not examined) within 0.1 cm-1 of it,
// or 0 without such a sample. Prints " Table72 (with target gas
// positions)", preceded by target_count_line when
// settings.reports_line_count (a run with no line pass before it). Throws rec::Stop for a header count outside 1..46 (after
// table72 has received the echo's first line),
// rec::RecordError for missing files and unreadable records or
// an unsorted line list.
void write_target_lines(const LineFindSettings& settings, const LineFindFiles& files, const TargetSamples& samples,
                        rec::Console& console);

}  // namespace tesk
